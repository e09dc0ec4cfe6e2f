// Hooks through which the dialog manager and the MFC-shaped layer take part
// in window creation and message pumping.
#pragma once

#include "zrui/winapi.h"

namespace zrui::detail {

// Called once, for the next window this thread creates, right after its
// handle exists and before WM_NCCREATE; used to attach a C++ object first.
using CreationHook = void (*)(HWND h, void* context);
void SetCreationHook(CreationHook hook, void* context);

// Called when a child window has just been disabled or hidden while the
// focus (`focus`) was on it or inside it, on the thread that owns the focus;
// the dialog manager moves the focus on to the next control that can take
// it. When the focus is still inside `gone` afterwards, it is removed.
using FocusLeavingHook = void (*)(HWND gone, HWND focus);
void SetFocusLeavingHook(FocusLeavingHook hook);

// Called for each queued message before dialog keyboard handling; returns
// true when the message was fully handled (PreTranslateMessage).
using PreTranslateHook = bool (*)(MSG* msg);
void SetPreTranslateHook(PreTranslateHook hook);
PreTranslateHook GetPreTranslateHook();

}  // namespace zrui::detail

#include <functional>

namespace zrui::detail {

// Where a modal loop takes the one-off action it runs when it is first idle
// (the testing layer's modal scripts). Called once at the start of each
// modal loop; returns an empty function when there is nothing to run.
using ModalActionSource = std::function<void(HWND dialog)> (*)();
void SetModalActionSource(ModalActionSource source);

}  // namespace zrui::detail
