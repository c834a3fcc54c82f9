// The lifetime of a child window that exists at most once: the map, the viewer and the
// documentation window.
//
// While the window lives, the program knows it by a pointer and an "open" flag. Closing it
// frees it; the close command, or a destruction without one (the main window going), forgets it
// exactly once: the pointer becomes null, the flag false, and whatever else the window names
// (its file name) is cleared. A newer window in the same pointer is left alone.
#pragma once

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <functional>
#include <utility>

namespace quarn {

template <typename Window>
class SingleWindow : public QMdiSubWindow {
  public:
    ~SingleWindow() override { FormClose(); }

  protected:
    /// self and open are the program's pointer and flag; forget clears what else it names.
    SingleWindow(Window*& self, bool& open, std::function<void()> forget = {})
        : m_self(self), m_open(open), m_forget(std::move(forget)) {
        setAttribute(Qt::WA_DeleteOnClose);
    }

    void closeEvent(QCloseEvent* event) override {
        FormClose();
        QMdiSubWindow::closeEvent(event);
    }

  private:
    void FormClose() {
        // Compared as addresses: by the time the base forgets, the window's own part is gone.
        if (static_cast<const void*>(m_self) != static_cast<const void*>(this))
            return;
        m_self = nullptr;
        m_open = false;
        if (m_forget)
            m_forget();
    }

    Window*& m_self;
    bool& m_open;
    std::function<void()> m_forget;
};

}  // namespace quarn
