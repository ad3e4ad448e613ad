// The window by keyboard and for screen readers: names and tooltips of the controls, the
// order of Tab, the keys that press buttons, and files given on the command line or
// dropped onto the window.
#include "app/tform2.h"

#include "chart/view/chartview.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace kvaro {

namespace {

// Oven names are digits: typed into the oven chooser they pick an oven, and the plain keys
// of the zoom ("0", "-", "+") must not take them away from it.
class TypedKeysStay : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers chord =
                key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (chord == Qt::NoModifier && !key->text().isEmpty() && key->text().at(0).isPrint())
                event->accept();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void TForm2::orderTabs()
{
    auto& c = m_controls;
    // The tabs and the page they show, then the columns from the left: the oven, its range
    // and its cycles, the chart with its zoom, the series. Buttons of pages not shown are
    // passed over by Tab.
    QWidget* const order[] = {
        c.Advsmoothtabpager1, c.KvaroLoadButton,  c.AdvSmoothButton8, c.TrendButton,
        c.AdvSmoothButton11,  c.AdvSmoothButton6, c.AdvSmoothButton7, c.ComboPiec,
        c.DataButton,         c.ListBox1,         c.Chart1,           c.AdvSmoothButton3,
        c.AdvSmoothButton2,   c.AdvSmoothButton1, c.Listboxprawy,     c.AdvSmoothButton9,
        c.AdvSmoothButton10};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm2::nameControls()
{
    auto& c = m_controls;
    nameButton(c.KvaroLoadButton, Text::ImportButtonName, {QKeySequence(Qt::CTRL | Qt::Key_I)});
    nameButton(c.AdvSmoothButton8, Text::OpenFileName, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    nameButton(c.TrendButton, Text::TrendButtonHint);
    nameButton(c.AdvSmoothButton11, Text::CopyToClipboard, {QKeySequence(Qt::CTRL | Qt::Key_C)});
    nameButton(c.AdvSmoothButton3, Text::ZoomOutName, {QKeySequence(Qt::Key_Minus)});
    nameButton(c.AdvSmoothButton2, Text::ZoomInName,
               {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    nameButton(c.AdvSmoothButton1, Text::ZoomResetName, {QKeySequence(Qt::Key_0)});
    nameButton(c.AdvSmoothButton9, Text::CheckAllName);
    nameButton(c.AdvSmoothButton10, Text::UncheckAllName);
    nameButton(c.AdvSmoothButton6, Text::PolishName);
    nameButton(c.AdvSmoothButton7, Text::EnglishName);

    // The chart takes focus so a screen reader can name it; it is drawn by the mouse.
    c.Chart1->setFocusPolicy(Qt::TabFocus);
    c.ComboPiec->installEventFilter(new TypedKeysStay(c.ComboPiec));
}

void TForm2::nameButton(QAbstractButton* button, Text name, const QList<QKeySequence>& keys)
{
    for (const QKeySequence& key : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        // Held down, a key that opens a dialog or starts work would do it again and again.
        shortcut->setAutoRepeat(button == m_controls.AdvSmoothButton2 ||
                                button == m_controls.AdvSmoothButton3);
        const QPointer<QAbstractButton> target(button);
        connect(shortcut, &QShortcut::activated, this, [target] {
            // click() does nothing on a disabled button, as the mouse does.
            if (target)
                target->click();
        });
    }
    m_namedButtons.push_back({button, name, keys});
    // Before the first language file is read the buttons keep their design-time tooltips.
    if (m_language.buffer().count() > 0)
        nameButtons();
}

void TForm2::addShortcut(const QKeySequence& keys, std::function<void()> work)
{
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, std::move(work));
}

void TForm2::nameButtons()
{
    for (const NamedButton& named : m_namedButtons) {
        if (!named.button)
            continue;
        const QString name = text(named.name);
        named.button->setAccessibleName(name);
        named.button->setToolTip(
            named.keys.isEmpty()
                ? name
                : fillIn(text(Text::ShortcutTip),
                         {name, named.keys.first().toString(QKeySequence::NativeText)}));
    }
}

void TForm2::nameOtherControls()
{
    auto& c = m_controls;
    c.ComboPiec->setAccessibleName(text(Text::ChooseOven));
    // Its text is the range shown, dates and nothing that says what it does.
    c.DataButton->setToolTip(text(Text::ChooseDateRange));
    c.DataButton->setAccessibleName(text(Text::ChooseDateRange));
    c.ListBox1->setAccessibleName(text(Text::CycleListHeader).trimmed());
    c.Chart1->setAccessibleName(text(Text::CycleChartName));
    c.Listboxprawy->setAccessibleName(text(Text::SeriesFilters));
}

void TForm2::openGivenFile(const QString& path)
{
    FileOpenDialog1FileOkClick(QDir::current().absoluteFilePath(path));
}

QString TForm2::givenFile(const QStringList& arguments)
{
    // The first argument is the program itself.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).isEmpty() && !arguments.at(i).startsWith(QLatin1Char('-')))
            return arguments.at(i);
    }
    return {};
}

QString TForm2::droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isDir())
            return path;
    }
    return {};
}

void TForm2::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm2::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The file manager waits until the drop is handled: the file is read after that.
    QTimer::singleShot(0, this, [this, path] { FileOpenDialog1FileOkClick(path); });
}

} // namespace kvaro
