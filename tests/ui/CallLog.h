#pragma once

#include <QStringList>

namespace korvane::ui::test {

// What the stand-in panels were asked to do, in order.
struct CallLog {
    QStringList calls;

    void add(const QString& call) { calls << call; }
    qsizetype mark() const { return calls.size(); }
    QStringList since(qsizetype mark) const { return calls.mid(mark); }
    qsizetype count(const QString& call) const { return calls.count(call); }
};

} // namespace korvane::ui::test
