#include "platform/qt/qt_dialog_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

#include "platform/dialog.h"
#include "platform/qt/qt_backend.h"

namespace platform::qt {

namespace {

constexpr std::uint32_t kButtonTypeMask = 0xFu;
constexpr std::uint32_t kComboTypeMask = 0x3u;

bool Has(std::uint32_t styleBits, std::uint32_t flag) {
    return (styleBits & flag) == flag;
}

// Swallows the tooltips of a view whose template asks for none.
class NoToolTips : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};

// What a screen reader calls a control; a list's dropped entries go by the list's name.
void Name(QWidget* widget, const char* name) {
    const QString text = name != nullptr ? FromProgram(name) : QString();
    widget->setAccessibleName(text);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->view()->setAccessibleName(text);
    }
}

}  // namespace

// The paint device context of one paint event: a painter on the dialog itself.
class QtPaintContext : public PaintContext {
  public:
    explicit QtPaintContext(QtDialogWindow& window) : window_(window), painter_(&window) {}

    void EraseIconBackground() override {
        painter_.fillRect(window_.rect(), window_.palette().window());
    }
    void DrawIcon(int x, int y, Icon icon) override {
        const Size size = window_.IconMetrics();
        window_.backend_.IconOf(icon).paint(&painter_, QRect(x, y, size.width, size.height));
    }

  private:
    QtDialogWindow& window_;
    QPainter painter_;
};

QtDialogWindow::QtDialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate,
                               QtBackend& backend)
    : dialog_(dialog), template_(dialogTemplate), backend_(backend) {
    // Caption, system menu (the close box) and a modal frame: a fixed-size window with a
    // title and a close button, no minimise or maximise button.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (Has(template_.style, style::kCaption)) {
        flags |= Qt::WindowTitleHint;
    }
    if (Has(template_.style, style::kSysMenu)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(FromProgram(template_.caption));

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
    const QFont font = DialogFont(template_, dpi);
    setFont(font);
    units_ = BaseUnitsOf(font);
    setFixedSize(UnitsToPixelsX(template_.cx, units_), UnitsToPixelsY(template_.cy, units_));

    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& c : template_.Controls()) {
        QWidget* widget = MakeControl(c);
        widget->setObjectName(QString::fromLatin1(c.name));
        widget->setFont(font);
        if (!Has(c.style, style::kVisible)) {
            widget->hide();
        }
        controls_[c.id] = widget;
        if (!c.ShowsText()) {
            Name(widget, template_.NameOf(c));
        }
        // A check box notifies however the user changes it, assistive technology's toggle
        // included, which changes it without a click; the program's own changes block it.
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            connect(box, &QAbstractButton::toggled, this,
                    [this, id = c.id] { Command(id, Notification::ButtonClicked); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = c.id] { Command(id, Notification::ButtonClicked); });
        }
        if (Has(c.style, style::kTabStop)) {
            if (previousTabStop != nullptr) {
                setTabOrder(previousTabStop, widget);
            }
            previousTabStop = widget;
        } else if (widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
    }
}

QWidget* QtDialogWindow::MakeControl(const ControlTemplate& c) {
    const QRect rect = UnitsToPixels(c.x, c.y, c.cx, c.cy, units_);
    const QString text = c.text != nullptr ? FromProgram(c.text) : QString();
    const int id = c.id;
    switch (c.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, this);
            // Only a default push button takes Enter for itself; the others are clicked by it
            // only while they have the focus.
            button->setAutoDefault(false);
            button->setDefault((c.style & kButtonTypeMask) == style::kDefPushButton);
            button->setGeometry(rect);
            return button;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(text, this);
            box->setGeometry(rect);
            return box;
        }
        case ControlKind::Static: {
            auto* label = new QLabel(text, this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            label->setGeometry(rect);
            return label;
        }
        case ControlKind::Tree: {
            auto* tree = new QtTree(this);
            ControlStyle::SetTreeBranches(tree, Has(c.style, style::kTreeHasLines),
                                          Has(c.style, style::kTreeHasButtons));
            tree->setStyle(&backend_.Style());
            tree->setRootIsDecorated(Has(c.style, style::kTreeLinesAtRoot));
            tree->setItemsExpandable(true);
            tree->setDragEnabled(!Has(c.style, style::kTreeDisableDragDrop));
            if (Has(c.style, style::kTreeNoTooltips)) {
                tree->viewport()->installEventFilter(new NoToolTips(tree));
            }
            if (!Has(c.style, style::kBorder)) {
                tree->setFrameShape(QFrame::NoFrame);
            }
            tree->onSelChanged = [this, id] {
                long result = 0;
                dialog_.HandleNotify(id, Notification::TreeSelChanged, &result);
                SyncControls();
            };
            tree->setGeometry(rect);
            return tree;
        }
        case ControlKind::Combo: {
            auto* combo = new QtCombo(this);
            combo->setEditable((c.style & kComboTypeMask) != style::kComboDropDownList);
            combo->setStyle(&backend_.Style());
            combo->onSelChange = [this, id] { Command(id, Notification::ComboSelChange); };
            // The template's height is that of the box with its list dropped: the box keeps
            // its own height, the list gets the rest.
            const int boxHeight = combo->sizeHint().height();
            combo->SetDroppedHeight(rect.height() - boxHeight, Has(c.style, style::kVScroll));
            combo->setGeometry(rect.x(), rect.y(), rect.width(), boxHeight);
            return combo;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(this);
            edit->setAlignment(Qt::AlignLeft);
            edit->setFrame(Has(c.style, style::kBorder));
            edit->setGeometry(rect);
            return edit;
        }
    }
    return new QWidget(this);
}

void QtDialogWindow::Command(int id, Notification code) {
    dialog_.HandleCommand(id, code);
    SyncControls();
}

void QtDialogWindow::SyncControls() {
    for (const auto& [id, widget] : controls_) {
        if (auto* combo = dynamic_cast<QtCombo*>(widget)) {
            combo->Sync();
        }
    }
}

QWidget* QtDialogWindow::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

TreeControl* QtDialogWindow::Tree(int id) {
    return dynamic_cast<QtTree*>(Control(id));
}

ComboControl* QtDialogWindow::Combo(int id) {
    return dynamic_cast<QtCombo*>(Control(id));
}

// A list's text is its current entry's; the boxes, buttons and labels have a text of their own.
std::string QtDialogWindow::GetItemText(int id) const {
    const QWidget* widget = Control(id);
    const char* property = qobject_cast<const QComboBox*>(widget) ? "currentText" : "text";
    return widget == nullptr ? std::string() : ToProgram(widget->property(property).toString());
}

// Qt holds an edit box to its limit even for the program's own text, where the native one
// does not; the program only ever puts the user's own text or an identifier of at most eight
// hexadecimal digits there.
void QtDialogWindow::SetItemText(int id, const std::string& text) {
    QWidget* widget = Control(id);
    if (widget != nullptr && widget->metaObject()->indexOfProperty("text") >= 0) {
        widget->setProperty("text", FromProgram(text));
    }
}

int QtDialogWindow::GetCheck(int id) const {
    auto* box = qobject_cast<QCheckBox*>(Control(id));
    return box != nullptr && box->isChecked() ? 1 : 0;
}

void QtDialogWindow::SetCheck(int id, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(Control(id))) {
        const QSignalBlocker quiet(box);
        box->setChecked(state != 0);
    }
}

void QtDialogWindow::LimitText(int id, int maxChars) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) {
        // 0 lifts the limit as far as the edit box goes.
        edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
    }
}

void QtDialogWindow::SetIcon(Icon icon, bool big) {
    (big ? bigIcon_ : smallIcon_) = icon;
    // One window icon carries both: the desktop picks the size it shows.
    QIcon combined;
    const QIcon bigIcon = backend_.IconOf(bigIcon_);
    const QIcon smallIcon = backend_.IconOf(smallIcon_);
    for (const QSize& size : bigIcon.availableSizes()) {
        if (size.width() > 16 || smallIcon.isNull()) {
            combined.addPixmap(bigIcon.pixmap(size));
        }
    }
    for (const QSize& size : smallIcon.availableSizes()) {
        if (size.width() <= 16 || bigIcon.isNull()) {
            combined.addPixmap(smallIcon.pixmap(size));
        }
    }
    setWindowIcon(combined);
}

Size QtDialogWindow::IconMetrics() const {
    const int size = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    return {size, size};
}

std::unique_ptr<PaintContext> QtDialogWindow::BeginPaint() {
    return std::make_unique<QtPaintContext>(*this);
}

void QtDialogWindow::DefaultPaint() {
    if (paintEvent_ != nullptr) {
        QWidget::paintEvent(paintEvent_);
    }
}

void QtDialogWindow::paintEvent(QPaintEvent* event) {
    paintEvent_ = event;
    dialog_.HandlePaint();
    paintEvent_ = nullptr;
}

void QtDialogWindow::EndDialog(int result) {
    ended_ = true;
    result_ = result;
    hide();
    if (loop_ != nullptr) {
        loop_->quit();
    }
}

// The dialog manager's keys: Escape is IDCANCEL; Enter clicks the push button that has the
// focus, and anywhere else is the default push button's command, IDOK without one. The
// controls pass on the keys they do not use themselves.
void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (plain && event->key() == Qt::Key_Escape) {
        Command(kIdCancel, Notification::ButtonClicked);
    } else if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (button != nullptr && button->window() == this) {
            button->click();
        } else {
            Command(DefaultId(), Notification::ButtonClicked);
        }
    } else {
        QWidget::keyPressEvent(event);
    }
}

// The id Enter sends with the focus off the push buttons: the default push button's, or IDOK.
int QtDialogWindow::DefaultId() const {
    for (const auto& [id, widget] : controls_) {
        if (auto* button = qobject_cast<QPushButton*>(widget);
            button != nullptr && button->isDefault()) {
            return id;
        }
    }
    return kIdOk;
}

// The close box is IDCANCEL; the window goes only when the dialog ends.
void QtDialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!ended_) {
        Command(kIdCancel, Notification::ButtonClicked);
    }
}

void QtDialogWindow::Run(bool focusFirstTabStop,
                         const std::function<void(QtDialogWindow&)>& shown) {
    if (ended_) {
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    activateWindow();
    if (const ControlTemplate* first = template_.FirstTabStop(); focusFirstTabStop && first) {
        controls_[first->id]->setFocus(Qt::TabFocusReason);
    }
    // The focus frame shows from the start, not only once the keys have moved the focus.
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (shown) {
        QTimer::singleShot(0, this, [this, shown] {
            if (!ended_) {
                shown(*this);
            }
        });
    }
    QEventLoop loop;
    loop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
}

}  // namespace platform::qt
