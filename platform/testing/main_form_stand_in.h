// For window tests: a shown main window with its MDI area, registered as the application's
// while the object lives, so child windows find where to open.
#pragma once

#include <QMainWindow>
#include <QMdiArea>

#include "forms.h"

namespace quarn::testing {

class MainFormStandIn {
  public:
    explicit MainFormStandIn(QSize size = QSize(1000, 700)) : m_area(new QMdiArea(&m_main)) {
        m_main.setCentralWidget(m_area);
        m_main.resize(size);
        RegisterMainForm(&m_main, m_area);
        m_main.show();
    }
    ~MainFormStandIn() { RegisterMainForm(nullptr, nullptr); }
    MainFormStandIn(const MainFormStandIn&) = delete;
    MainFormStandIn& operator=(const MainFormStandIn&) = delete;

    QMdiArea* area() const { return m_area; }

  private:
    QMainWindow m_main;
    QMdiArea* m_area;
};

}  // namespace quarn::testing
