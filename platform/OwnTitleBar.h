// SPDX-License-Identifier: MIT
#pragma once

class QColor;
class QPalette;
class QWidget;

namespace quillmark::platform {

// Whether windows are drawn without a window manager's frame, so that the toolkit would draw
// their title bars itself: true on Wayland.
bool clientDrawsTitleBars();

// Gives a fixed-size window a title bar of its own where the client draws title bars: its
// caption, a minimise button if the window asks for one, and a close button; dragging it moves
// the window. Elsewhere it does nothing, and the window manager's frame stays.
//
// Qt's own Wayland title bar offers a maximise button whatever the window asks for. A compositor
// that honours it (weston) then configures the maximised size, which a fixed-size window cannot
// take, and ends the program with a protocol error; one that refuses it (mutter) leaves the
// window claiming a state it is not in. This bar has no maximise button.
//
// The bar takes the top of the window: the window's contents move down by its height (as
// contents margins, which a layout keeps to, or by moving the children of a window without
// one), and a fixed size grows by it. Call once, after the window's controls are made and before
// it is first shown.
void useOwnTitleBar(QWidget* window);

// The caption's colour while the window is not the active one.
QColor inactiveCaptionColour(const QPalette& colours);

}  // namespace quillmark::platform
