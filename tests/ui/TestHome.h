#pragma once

#include <QTemporaryDir>
#include <memory>

namespace korvane::ui::test {

// Points KORVANE_HOME at a folder of the test's own, so that the log and any settings the
// program opens by itself stay out of the user's files.
class TestHome {
public:
    TestHome() : dir_(std::make_unique<QTemporaryDir>()) {
        qputenv("KORVANE_HOME", dir_->path().toUtf8());
    }
    QString path() const { return dir_->path(); }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

} // namespace korvane::ui::test
