#include "quarn_doc_f.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QScrollBar>
#include <QTextStream>
#include <cerrno>

#include "error_report.h"
#include "forms.h"
#include "platform_error.h"

namespace quarn {

TfrmDoc* frmDoc = nullptr;
bool DocWindowOpen = false;

namespace {

constexpr int kClientWidth = 440;
constexpr int kClientHeight = 280;
// The guide is laid out in lines of at most this many characters, tables aligned by spaces.
constexpr int kGuideColumns = 76;

// The largest fixed-pitch font that shows a whole guide line in width pixels.
QFont GuideFont(int width) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    constexpr int kMargins = 12;
    for (int pixels = 13; pixels > 7; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(QString(kGuideColumns, 'M')) + kMargins <= width)
            break;
    }
    return font;
}

// Laying out one huge paragraph takes the toolkit minutes, so a line longer than this many
// characters is shown as several (13 rows of the guide's width each).
constexpr qsizetype kLongestShownLine = 13 * kGuideColumns;

QString WithLongLinesBroken(const QString& text) {
    QString shown;
    shown.reserve(text.size() + text.size() / kLongestShownLine);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            lineStart = i + 1;
        } else if (i - lineStart == kLongestShownLine) {
            shown += '\n';
            lineStart = i;
        }
        shown += text[i];
    }
    return shown;
}

// "document.txt" unless it is missing and the installation of the program in executableDir
// holds the user guide.
QString DocumentationFile(const QString& executableDir) {
    const QString local = QStringLiteral("document.txt");
    const QString installed = executableDir + QStringLiteral("/" QUARN_GUIDE_FROM_BIN);
    if (!QFileInfo::exists(local) && QFileInfo::exists(installed))
        return QDir::cleanPath(installed);
    return local;
}

}  // namespace

TfrmDoc::TfrmDoc() : SingleWindow(frmDoc, DocWindowOpen) {
    setWindowTitle(QStringLiteral("Documentation"));
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    Memo1 = new QPlainTextEdit(client);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, kClientWidth, 254);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 192); color: black;"));
    Memo1->setFont(GuideFont(kClientWidth - Memo1->verticalScrollBar()->sizeHint().width()));
    Button1 = new QPushButton(QStringLiteral("Close"), client);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(369, 259, 55, 18);
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    setWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmDoc::loadFile(const QString& fileName) {
    Memo1->clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const int cause = file.exists() ? EACCES : ENOENT;
        throw PlatformError("Cannot open file \"" + fileName.toStdString() + "\". " +
                            IoErrorText(cause));
    }
    QTextStream in(&file);
    Memo1->setPlainText(WithLongLinesBroken(in.readAll()));
}

void TfrmDoc::Button1Click() {
    close();
}

void ShowDocumentation() {
    ShowDocumentation(QCoreApplication::applicationDirPath());
}

void ShowDocumentation(const QString& executableDir) {
    if (!DocWindowOpen) {
        frmDoc = new TfrmDoc();
        AddChildWindow(frmDoc);
        DocWindowOpen = true;
    }
    frmDoc->show();
    frmDoc->raise();
    if (QMdiArea* area = frmDoc->mdiArea())
        area->setActiveSubWindow(frmDoc);
    frmDoc->loadFile(DocumentationFile(executableDir));
}

}  // namespace quarn
