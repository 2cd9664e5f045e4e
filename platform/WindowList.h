// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace quillmark::platform {

// The program's open windows in the order in which they were opened. A window is added when it
// is created and leaves the list when it is destroyed.
class WindowList {
public:
    virtual ~WindowList() = default;
    virtual void add(QWidget* window) = 0;
    virtual int count() const = 0;
    virtual QWidget* at(int index) const = 0;
    // Closes the window at index, running its own close processing.
    virtual void close(int index) = 0;
    // Ends the program at once: no window's close processing runs.
    virtual void endProgram() = 0;
};

}  // namespace quillmark::platform
