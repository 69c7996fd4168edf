#pragma once

#include "ui/panels/ICapturePanel.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/ISoundPanel.h"

#include <QFrame>
#include <functional>
#include <vector>

class QLabel;
class QGridLayout;

namespace korvane {
struct ParameterMirror;
}

namespace korvane::ui {

// Stands in for a side panel or the input bar until the panel's own issue fills it: shows a
// few mirror values, so that synchronisation and refreshes can be seen, and sends nothing.
class CPlaceholderPanel : public QFrame,
                          public IInputBar,
                          public IPictureQualityPanel,
                          public ICapturePanel,
                          public ISoundPanel,
                          public IOutputPanel,
                          public IDualPicturePanel,
                          public ICommPanel {
    Q_OBJECT
public:
    using Value = std::function<QString(const ParameterMirror&)>;

    CPlaceholderPanel(const ParameterMirror& mirror, Qt::Orientation orientation,
                      QWidget* parent = nullptr);
    void addRow(const QString& label, Value value);

    QWidget* widget() override { return this; }
    void refreshFromMirror() override;

    void selectPicture1Input(std::uint8_t, bool) override {}
    void refreshInputs(bool) override { refreshFromMirror(); }
    void setSeamlessCheck(int) override {}
    void hideExtendedInput() override {}
    void setInputKind(int) override {}
    void runRefreshOperation() override {}
    void setResolutionCallback(IOutputResolutionCallback*) override {}
    void selectPicture2Input(std::uint8_t) override {}
    void setOnlineIndicator(int state) override;

private:
    struct Row {
        QLabel* value;
        Value read;
    };
    const ParameterMirror& mirror_;
    Qt::Orientation orientation_;
    QGridLayout* grid_;
    std::vector<Row> rows_;
    QLabel* online_ = nullptr;
};

} // namespace korvane::ui
