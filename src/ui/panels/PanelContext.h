#pragma once

namespace korvane {
class Settings;
class CommandFacade;
class DeviceLink;
class MessageSink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class MessagePresenter;

// What a panel works with; every part outlives the panels.
struct PanelContext {
    DeviceLink& link;
    ParameterMirror& mirror;
    CommandFacade& facade;
    Settings& settings;
    MessagePresenter& presenter;
    MessageSink* messages;
    BusyRunner& busy;
};

} // namespace korvane::ui
