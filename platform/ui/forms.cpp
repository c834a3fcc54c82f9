#include "forms.h"

namespace quarn {

namespace {

QMainWindow* g_mainForm = nullptr;
QMdiArea* g_mdiArea = nullptr;
QWidget* g_genCPanelForm = nullptr;
constexpr const char* kTagProperty = "Tag";

}  // namespace

QMainWindow* MainForm() {
    return g_mainForm;
}
QMdiArea* MainMdiArea() {
    return g_mdiArea;
}

void RegisterMainForm(QMainWindow* form, QMdiArea* mdiArea) {
    g_mainForm = form;
    g_mdiArea = mdiArea;
}

void AddChildWindow(QMdiSubWindow* window) {
    if (g_mdiArea)
        g_mdiArea->addSubWindow(window);
}

QWidget* GenCPanelForm() {
    return g_genCPanelForm;
}
void RegisterGenCPanelForm(QWidget* form) {
    g_genCPanelForm = form;
}

int Tag(const QObject* control) {
    return control->property(kTagProperty).toInt();
}
void SetTag(QObject* control, int tag) {
    control->setProperty(kTagProperty, tag);
}

QLineEdit* FindEditByTag(const QWidget* form, int tag) {
    if (!form)
        return nullptr;
    for (QLineEdit* edit : form->findChildren<QLineEdit*>())
        if (Tag(edit) == tag && !edit->inputMask().isEmpty())
            return edit;
    return nullptr;
}

std::vector<QLabel*> FindLabelsByTag(const QWidget* form, int tag) {
    std::vector<QLabel*> labels;
    if (!form)
        return labels;
    for (QLabel* label : form->findChildren<QLabel*>())
        if (Tag(label) == tag)
            labels.push_back(label);
    return labels;
}

}  // namespace quarn
