#include "app/style.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QStyleFactory>

namespace kvaro {

namespace {

// Debian's Tahoma comes with Wine and lies where fontconfig does not look; the application
// registers it itself. Calibri needs nothing: fontconfig maps it to Carlito when installed.
const char* const wineFontFolder = "/usr/share/wine/fonts";

void registerWineTahoma()
{
    static const bool done = [] {
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
            return true;
        const QDir folder(QString::fromUtf8(wineFontFolder));
        for (const QString& file : {QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf")}) {
            if (folder.exists(file))
                QFontDatabase::addApplicationFont(folder.filePath(file));
        }
        return true;
    }();
    (void)done;
}

QString firstInstalled(const QStringList& wanted, const QString& fallback)
{
    registerWineTahoma();
    const QStringList families = QFontDatabase::families();
    for (const QString& family : wanted) {
        if (families.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return fallback;
}

// The palette of the look, in one place.
const char* const sheet = R"(
#Form2, #GlownyGrid {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f3f8fd, stop:1 #dbe8f5);
}
QWidget { color: #1d3350; }
QToolTip {
    color: #1d3350; background: #f7fbff; border: 1px solid #8fb1d6; padding: 3px;
}

/* Tab pager: tabs at the top left, 30 pixels high. */
QTabWidget::pane {
    border: 1px solid #8fb1d6; border-radius: 5px; top: -1px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e3eef9);
}
QTabWidget::tab-bar { left: 5px; }
QTabBar::tab {
    height: 28px; padding: 0 12px; margin-right: 3px; margin-top: 2px;
    border: 1px solid #8fb1d6; border-bottom: none;
    border-top-left-radius: 6px; border-top-right-radius: 6px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f9fe, stop:1 #c9ddf2);
    color: #24466e;
}
QTabBar::tab:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d9e9f8);
}
QTabBar::tab:selected {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #ffffff);
    color: #0f3a6b; font-weight: bold;
}
QTabBar::tab:disabled { color: #8a9bb0; }
/* The colour every widget takes would leave an entry that cannot be used looking as if it could. */
QMenu::item:disabled { color: #8a9bb0; }

/* Buttons. */
QPushButton {
    border: 1px solid #7fa6d1; border-radius: 5px; padding: 3px 10px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
                stop:0 #ffffff, stop:0.45 #e6f0fa, stop:0.5 #d5e5f6, stop:1 #bcd5ef);
    color: #17395f;
}
QPushButton:hover {
    border-color: #4f86c4;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
                stop:0 #ffffff, stop:0.45 #eef6fd, stop:0.5 #dcecfb, stop:1 #c5def6);
}
QPushButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b3cfee, stop:1 #d9e8f7);
}
QPushButton:focus { border-color: #3a76bc; }
QPushButton:disabled {
    color: #8a9bb0; border-color: #b5c7db;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f6f9fc, stop:1 #e1e9f2);
}
QPushButton[picture="true"] { padding: 0; border-radius: 8px; }
QPushButton[language="true"] { font-size: 11pt; font-weight: bold; }
QPushButton[zoom="true"] { padding: 0; font-weight: bold; font-size: 10pt; }
QPushButton#DataButton { font-weight: normal; text-align: center; padding-left: 2px; padding-right: 2px; }
QPushButton#AdvSmoothButton9, QPushButton#AdvSmoothButton10 { padding: 2px 1px; }

/* Chooser. */
QComboBox {
    border: 1px solid #7fa6d1; border-radius: 5px; padding: 1px 8px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d3e4f5);
    color: #17395f;
}
QComboBox:hover { border-color: #4f86c4; }
QComboBox::drop-down {
    width: 20px; border-left: 1px solid #a9c3e0;
    border-top-right-radius: 5px; border-bottom-right-radius: 5px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef5fc, stop:1 #bcd5ef);
}
QComboBox::down-arrow { image: url(:/pictures/Strzalka.svg); width: 12px; height: 12px; }
QComboBox QAbstractItemView {
    border: 1px solid #7fa6d1; background: #ffffff; outline: none;
    selection-background-color: #cfe2f6; selection-color: #0f3a6b;
}

/* Lists with a header line above and a footer line below. */
QListView {
    border: 1px solid #8fb1d6; background: #ffffff; outline: none;
    alternate-background-color: #f2f7fc;
}
QListView:disabled { background: #f5f8fb; }
QListView::item { padding: 2px; }
QListView::item:hover { background: #eaf3fc; }
QListView::item:selected {
    color: #0f3a6b;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e4f0fc, stop:1 #bcd6f2);
}
QLabel[listHeader="true"] {
    padding: 4px 6px; font-weight: bold; color: #ffffff;
    border: 1px solid #3f73ad; border-top-left-radius: 5px; border-top-right-radius: 5px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #7fb0e3, stop:1 #3f78b8);
}
QLabel[listFooter="true"] {
    padding: 3px 6px; color: #24466e;
    border: 1px solid #8fb1d6; border-top: none;
    border-bottom-left-radius: 5px; border-bottom-right-radius: 5px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef5fc, stop:1 #cfe1f4);
}
#ListboxprawyPanel QListView {
    border-bottom-left-radius: 5px; border-bottom-right-radius: 5px;
}

/* Figures on the parameter tabs and the readouts under the chart. */
QLabel[figure="true"] { font-size: 14pt; font-weight: bold; color: #17395f; }
QLabel[unit="true"] { color: #4d6a8c; }
QLabel[result="true"] { font-size: 10pt; color: #17395f; }
QLabel[readout="true"] {
    border: 1px solid #a9c3e0; border-radius: 4px; font-weight: bold; color: #17395f;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e1edf9);
}
QLabel#AdvSmoothLabel6 { font-size: 6pt; font-weight: bold; color: #4d6a8c; }
QLabel#FooterConsLabel { font-size: 16pt; font-weight: bold; color: #17395f; }
QLabel#PalnikStatus {
    border-radius: 11px; border: 1px solid #b8561b; color: #ffffff; font-weight: bold;
    background: qradialgradient(cx:0.4, cy:0.35, radius:0.7, stop:0 #ffb36b, stop:1 #e0661a);
}
#Chart1Placeholder {
    border: 1px solid #b5cce4; border-radius: 6px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #eaf2fa);
}
#TimeLine {
    border: 1px solid #8fb1d6; border-radius: 4px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e6eff9);
}

QProgressBar {
    border: 1px solid #7fa6d1; border-radius: 4px; text-align: center; color: #17395f;
    background: #f4f8fc;
}
QProgressBar::chunk {
    border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #8cc4f0, stop:1 #3d86cf);
}
QProgressBar:vertical { font-size: 6pt; }
QProgressBar::chunk:vertical {
    background: qlineargradient(x1:0, y1:1, x2:0, y2:0, stop:0 #8cc4f0, stop:1 #3d86cf);
}

/* Status bar. */
QStatusBar {
    border-top: 1px solid #a9c3e0;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef5fc, stop:1 #cddff2);
}
QStatusBar::item { border: none; border-right: 1px solid #a9c3e0; }
QStatusBar QLabel { padding-left: 6px; color: #24466e; }

QDialog, QMessageBox {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7fbff, stop:1 #dce9f6);
}
QDialog QPushButton, QMessageBox QPushButton { min-width: 72px; min-height: 22px; }
#MsgDialogBody { font-size: 10pt; }
QScrollBar:vertical { width: 12px; background: #eef4fa; margin: 0; }
QScrollBar::handle:vertical {
    min-height: 24px; border-radius: 5px; margin: 1px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #d5e5f6, stop:1 #a9c7e8);
}
QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }
)";

} // namespace

QString interfaceFontFamily()
{
    return firstInstalled({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                           QStringLiteral("Liberation Sans"), QStringLiteral("Verdana")},
                          QFont().defaultFamily());
}

QString chooserFontFamily()
{
    return firstInstalled({QStringLiteral("Calibri"), QStringLiteral("Carlito")},
                          interfaceFontFamily());
}

QString styleSheet()
{
    return QString::fromUtf8(sheet) +
           QStringLiteral("QComboBox#ComboPiec { font-family: \"%1\"; }\n"
                          "QLabel#FooterConsLabel { font-family: \"%2\"; }\n")
               .arg(chooserFontFamily(), interfaceFontFamily());
}

void applyLook(QApplication& app)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    QFont font(interfaceFontFamily());
    font.setPointSize(8);
    app.setFont(font);
    app.setStyleSheet(styleSheet());
}

} // namespace kvaro
