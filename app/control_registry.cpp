#include "app/control_registry.h"

#include <cwchar>
#include <vector>

namespace {

constexpr UINT_PTR kFirstTimerId = 100;

HWND mainWindow = nullptr;
std::vector<ControlEntry> entries;
EventBinding mainHandlers[3]{};

// A handler that fails has simply ended its event; the window and its controls carry on.
void RunHandler(EventHandler handler, const ControlEvent& event) {
    try {
        handler(event);
    } catch (...) {
    }
}

} // namespace

void ResetControlRegistry(HWND main) {
    mainWindow = main;
    for (std::size_t k = 0; k < 3; ++k)
        mainHandlers[k] = MainWindowData().handlers[k];
    entries.assign(ControlRowCount(), ControlEntry{});
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ControlRow& row = ControlRows()[i];
        entries[i].row = &row;
        entries[i].servedBy = i;
        for (std::size_t k = 0; k < 2; ++k)
            entries[i].handlers[k] = row.handlers[k];
    }
}

void ClearControlRegistry() {
    mainWindow = nullptr;
    entries.clear();
}

HWND MainWindowHandle() {
    return mainWindow;
}

std::size_t ControlEntryCount() {
    return entries.size();
}

ControlEntry& ControlEntryAt(std::size_t index) {
    return entries.at(index);
}

ControlEntry* ControlEntryByName(const wchar_t* name) {
    if (!name)
        return nullptr;
    for (ControlEntry& entry : entries)
        if (std::wcscmp(entry.row->name, name) == 0)
            return &entry;
    return nullptr;
}

ControlEntry* ControlEntryByWindow(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    for (ControlEntry& entry : entries)
        if (entry.hwnd == hwnd)
            return &entry;
    return nullptr;
}

std::size_t ControlEntryIndex(const ControlEntry& entry) {
    return static_cast<std::size_t>(&entry - entries.data());
}

UINT_PTR TimerIdOf(const ControlEntry& entry) {
    return kFirstTimerId + ControlEntryIndex(entry);
}

ControlEntry* ControlEntryByTimerId(UINT_PTR id) {
    if (id < kFirstTimerId || id - kFirstTimerId >= entries.size())
        return nullptr;
    ControlEntry& entry = entries[id - kFirstTimerId];
    return entry.row->kind == ControlKind::Timer ? &entry : nullptr;
}

void DispatchControlEvent(const ControlEntry& raising, On event, int argument, int modifiers) {
    if (raising.servedBy >= entries.size())
        return;
    const ControlEntry& serving = entries[raising.servedBy];
    for (const EventBinding& binding : serving.handlers) {
        if (binding.handler && binding.event == event) {
            ControlEvent e;
            e.control = raising.row->name;
            e.argument = argument;
            e.modifiers = modifiers;
            RunHandler(binding.handler, e);
            return;
        }
    }
}

EventBinding* MainWindowBindings() {
    return mainHandlers;
}

void DispatchMainWindowEvent(On event, int argument, int modifiers) {
    for (const EventBinding& binding : mainHandlers) {
        if (binding.handler && binding.event == event) {
            ControlEvent e;
            e.control = MainWindowData().name;
            e.argument = argument;
            e.modifiers = modifiers;
            RunHandler(binding.handler, e);
            return;
        }
    }
}
