#pragma once

#include "ui/panels/PanelFactory.h"

#include <QObject>

namespace korvane::ui {

// The panes the program shows until each panel's own issue supplies it.
class CPlaceholderPanelFactory : public QObject, public PanelFactory {
    Q_OBJECT
public:
    using QObject::QObject;
    PanelSet create(const PanelContext& context) override;
};

} // namespace korvane::ui
