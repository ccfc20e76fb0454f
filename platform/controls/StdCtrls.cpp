#include "controls/StdCtrls.h"
#include "controls/ControlProps.h"
#include "qt/Dispatch.h"
#include "qt/CaptionWidgets.h"
#include "qt/ComboWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <cmath>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextOption>

namespace cp = controlprops;

VK_PUBLISHED(TLabel)
{
    cp::Align(c);
    c.Prop("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    c.Prop("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
    cp::Caption(c);
    cp::Color(c, clBtnFace);
    c.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    c.Prop("FocusControl", &TLabel::FocusControl);
    cp::Font(c);
    cp::Hints(c);
    c.Prop("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
    cp::State(c);
    c.Prop("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
    cp::MouseEvents(c);
}

VK_PUBLISHED(TEdit)
{
    cp::Color(c, clWindow);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    c.Prop("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
    c.Prop("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
    cp::Tabs(c, true);
    c.Prop("Text", &TControl::Text, &TEdit::SetText);
    c.Prop("OnChange", &TEdit::OnChange);
    cp::MouseEvents(c);
    cp::KeyEvents(c);
}

VK_PUBLISHED(TMemo)
{
    cp::Align(c);
    c.Prop("Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
    cp::Color(c, clWindow);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    c.Prop("Lines", &TMemo::Lines);
    c.Prop("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
    c.Prop("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
    cp::Tabs(c, true);
    c.Prop("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
    c.Prop("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false);
    c.Prop("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
    c.Prop("OnChange", &TMemo::OnChange);
    cp::MouseEvents(c);
    cp::KeyEvents(c);
}

VK_PUBLISHED(TCheckBox)
{
    c.Prop("Alignment", &TCheckBox::Alignment).Default(taRightJustify);
    c.Prop("AllowGrayed", &TCheckBox::AllowGrayed).Default(false);
    cp::Caption(c);
    c.Prop("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
    cp::Color(c, clBtnFace);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    c.Prop("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    cp::Tabs(c, true);
    cp::MouseEvents(c);
    cp::KeyEvents(c);
}

VK_PUBLISHED(TComboBox)
{
    c.Prop("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
    cp::Color(c, clWindow);
    c.Prop("DropDownCount", &TComboBox::DropDownCount).Default(8);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    c.Prop("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
    cp::Tabs(c, true);
    c.Prop("Text", &TControl::Text, &TComboBox::SetText);
    c.Prop("Items", &TComboBox::Items);
    c.Prop("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1).DependsOnContext();  // needs items
    c.Prop("OnChange", &TComboBox::OnChange);
    c.Prop("OnClick", &TControl::OnClick);
    c.Prop("OnDblClick", &TControl::OnDblClick);
    c.Prop("OnDropDown", &TComboBox::OnDropDown);
    cp::KeyEvents(c);
}

VK_PUBLISHED(TButton)
{
    c.Prop("Cancel", &TButton::Cancel).Default(false);
    cp::Caption(c);
    c.Prop("Default", &TButton::Default).Default(false);
    c.Prop("ModalResult", &TButton::ModalResult).Default(mrNone);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    cp::Tabs(c, true);
    c.Prop("OnClick", &TControl::OnClick);
    c.Prop("OnMouseDown", &TControl::OnMouseDown);
    c.Prop("OnMouseMove", &TControl::OnMouseMove);
    c.Prop("OnMouseUp", &TControl::OnMouseUp);
    cp::KeyEvents(c);
}

VK_PUBLISHED(TScrollBar)
{
    c.Prop("Kind", &TScrollBar::Kind, &TScrollBar::SetKind).Default(sbHorizontal);
    c.Prop("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1);
    // Min never exceeds Max and Position stays between them
    c.Prop("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100).DependsOnContext();
    c.Prop("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0).DependsOnContext();
    c.Prop("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0).DependsOnContext();
    c.Prop("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1);
    cp::State(c);
    cp::Hints(c);
    cp::Tabs(c, true);
    c.Prop("OnScroll", &TScrollBar::OnScroll);
    cp::KeyEvents(c);
}

TModalResult VkStreamIn(const TValue& value, TModalResult*)
{
    if (!value.IsInteger())
        published::InvalidValue(QStringLiteral("ModalResult"));
    return static_cast<TModalResult>(value.Int);
}

namespace {

Qt::Alignment QtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

// A one-line text box's height: the font's full line height (rounded up, as
// the character cell is) with room for the border and a margin.
int DefaultEditHeight(const TFont* font)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font->ToQFont()).height())) + 8;
}

}  // namespace

// ---------------------------------------------------------------- TLabel

void TLabel::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetParentColor(true);
    SetBounds(Left(), Top(), 65, 17);
    AdjustSize();
}

QWidget* TLabel::CreateWidget()
{
    return new TLabelWidget();
}

void TLabel::SyncWidget()
{
    inherited::SyncWidget();
    auto* label = static_cast<QLabel*>(Widget());
    label->setText(Caption());
    label->setAlignment(QtAlignment(alignment_) | Qt::AlignTop);
    label->setWordWrap(wordWrap_);
    label->setAutoFillBackground(!transparent_);
}

void TLabel::SetText(const QString& text)
{
    inherited::SetText(text);
    AdjustSize();
}

void TLabel::FontChanged()
{
    inherited::FontChanged();
    AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || IsLoading() || !Font())
        return;
    const QSize size = TextExtentOf(Font(), Caption());
    // a word-wrapped label keeps its width; one line of text sets the height
    SetBounds(Left(), Top(), wordWrap_ ? Width() : size.width(), size.height());
}

void TLabel::SetAutoSize(bool v)
{
    autoSize_ = v;
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment v)
{
    alignment_ = v;
    SyncWidget();
}

void TLabel::SetWordWrap(bool v)
{
    wordWrap_ = v;
    SyncWidget();
    AdjustSize();
}

void TLabel::SetTransparent(bool v)
{
    transparent_ = v;
    SyncWidget();
}

// ---------------------------------------------------------------- TEdit

void TEdit::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, DefaultEditHeight(Font()));
}

QWidget* TEdit::CreateWidget()
{
    auto* edit = new QLineEdit();
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString& text) {
        DispatchSafely([this, text] { SetText(text); });
    });
    return edit;
}

void TEdit::SyncWidget()
{
    inherited::SyncWidget();
    auto* edit = static_cast<QLineEdit*>(Widget());
    // Each setter writes only a real difference: what the user typed is the
    // text already, and setting a line edit's text or even its maximum length
    // again moves the cursor to the end and clears the undo history.
    if (edit->text() != Text())
        edit->setText(Text());
    if (const int maxLength = maxLength_ > 0 ? maxLength_ : 32767; edit->maxLength() != maxLength)
        edit->setMaxLength(maxLength);
    edit->setReadOnly(readOnly_);
}

void TEdit::SetText(const QString& text)
{
    if (text == Text())
        return;
    inherited::SetText(text);
    OnChange(this);
}

void TEdit::SetMaxLength(int v)
{
    maxLength_ = v;
    SyncWidget();
}

void TEdit::SetReadOnly(bool v)
{
    readOnly_ = v;
    SyncWidget();
}

void TEdit::SelectAll()
{
    static_cast<QLineEdit*>(Widget())->selectAll();
}

// ---------------------------------------------------------------- TMemo

void TMemo::Create(TComponent* owner)
{
    lines_.OnChange = TNotifyEvent([this](TObject*) {
        if (syncing_)
            return;
        ShowLines();
        OnChange(this);
    });
    inherited::Create(owner);
    ShowLines();  // lines filled before the window was made
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 185, 89);
}

void TMemo::ShowLines()
{
    auto* edit = static_cast<QPlainTextEdit*>(Widget());
    if (!edit)
        return;  // not made yet, or gone with the control
    // lines written back as the user typed them leave cursor and undo alone
    const QString text = lines_.ToStringList().join(QChar('\n'));
    syncing_ = true;
    if (edit->toPlainText() != text)
        edit->setPlainText(text);
    syncing_ = false;
}

QWidget* TMemo::CreateWidget()
{
    auto* edit = new QPlainTextEdit();
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, edit] {
        if (syncing_)
            return;
        DispatchSafely([this, edit] {
            const QString text = edit->toPlainText();
            syncing_ = true;
            lines_.SetStrings(text.isEmpty() ? QStringList() : text.split(QChar('\n')));
            syncing_ = false;
            OnChange(this);
        });
    });
    return edit;
}

void TMemo::SyncWidget()
{
    inherited::SyncWidget();
    auto* edit = static_cast<QPlainTextEdit*>(Widget());
    const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // a horizontal scroll bar means long lines stay whole
    edit->setLineWrapMode(wordWrap_ && !horizontal ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(!wantTabs_);
    edit->setReadOnly(readOnly_);
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(QtAlignment(alignment_));
    edit->document()->setDefaultTextOption(option);
}

void TMemo::SetScrollBars(TScrollStyle v)
{
    scrollBars_ = v;
    SyncWidget();
}

void TMemo::SetWantTabs(bool v)
{
    wantTabs_ = v;
    SyncWidget();
}

void TMemo::SetWantReturns(bool v)
{
    wantReturns_ = v;
}

void TMemo::SetWordWrap(bool v)
{
    wordWrap_ = v;
    SyncWidget();
}

void TMemo::SetReadOnly(bool v)
{
    readOnly_ = v;
    SyncWidget();
}

void TMemo::SetAlignment(TAlignment v)
{
    alignment_ = v;
    SyncWidget();
}

void TMemo::KeyPress(QChar& key)
{
    inherited::KeyPress(key);
    if (key == QChar('\r') && !wantReturns_)
        key = QChar();
}

bool TMemo::WantsKey(int key) const
{
    return (key == Qt::Key_Return || key == Qt::Key_Enter) && wantReturns_;
}

// ---------------------------------------------------------------- TCheckBox

void TCheckBox::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetTabStop(true);
    SetBounds(Left(), Top(), 97, 17);
}

QWidget* TCheckBox::CreateWidget()
{
    auto* box = new TCheckBoxWidget();
    // the library's check box keeps its caption 4 pixels from the box, so
    // captions laid out for it fit their width
    box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 4px; }"));
    QObject::connect(box, &QCheckBox::clicked, box, [this, box] {
        DispatchSafely([this, box] {
            const Qt::CheckState state = box->checkState();
            SetState(state == Qt::Checked ? cbChecked : state == Qt::PartiallyChecked ? cbGrayed : cbUnchecked);
        });
    });
    return box;
}

void TCheckBox::SyncWidget()
{
    inherited::SyncWidget();
    auto* box = static_cast<QCheckBox*>(Widget());
    box->setText(Caption());
    box->setTristate(AllowGrayed);
    box->setLayoutDirection(Alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    box->setCheckState(states[state_]);
}

void TCheckBox::SetChecked(bool checked)
{
    SetState(checked ? cbChecked : cbUnchecked);
}

void TCheckBox::SetState(TCheckBoxState state)
{
    if (state == state_)
        return;
    state_ = state;
    SyncWidget();
    // a change from code tells the handler as a user's click does
    if (!IsLoading())
        Click();
}

// ---------------------------------------------------------------- TComboBox

void TComboBox::Create(TComponent* owner)
{
    items_.OnChange = TNotifyEvent([this](TObject*) { SyncWidget(); });
    inherited::Create(owner);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 145, DefaultEditHeight(Font()));
}

QWidget* TComboBox::CreateWidget()
{
    auto* box = new TComboWidget();
    box->setEditable(true);
    // the list is the control's: Enter on a typed text adds nothing to it
    box->setInsertPolicy(QComboBox::NoInsert);
    box->OnDropDown = [this] { DispatchSafely([this] { OnDropDown(this); }); };
    QObject::connect(box, &QComboBox::activated, box, [this](int index) {
        DispatchSafely([this, index] { ChooseItem(index); });
    });
    QObject::connect(box, &QComboBox::editTextChanged, box, [this](const QString& text) {
        if (!syncing_)
            DispatchSafely([this, text] { SetText(text); });
    });
    return box;
}

void TComboBox::SyncWidget()
{
    inherited::SyncWidget();
    auto* box = static_cast<QComboBox*>(Widget());
    syncing_ = true;
    box->setEditable(style_ != csDropDownList);
    box->setMaxVisibleItems(DropDownCount);
    const QStringList items = items_.ToStringList();
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    // As in an edit, only real differences are written, so what the user
    // types keeps its cursor and undo history. A typed text that is no item
    // leaves the list's current item alone: taking it away would empty the
    // edit the user types in.
    if (box->currentIndex() != itemIndex_ && (itemIndex_ >= 0 || !box->isEditable()))
        box->setCurrentIndex(itemIndex_);
    if (box->isEditable() && box->currentText() != Text())
        box->setEditText(Text());
    syncing_ = false;
}

int TComboBox::ItemIndex() const
{
    return itemIndex_ < items_.Count() ? itemIndex_ : -1;
}

void TComboBox::SetItemIndex(int index)
{
    itemIndex_ = index >= 0 && index < items_.Count() ? index : -1;
    // choosing from code changes the text without a change notification
    TControl::SetText(itemIndex_ >= 0 ? items_.Strings(itemIndex_) : QString());
    SyncWidget();
}

void TComboBox::SetText(const QString& text)
{
    if (text == Text())
        return;
    if (itemIndex_ >= 0 && items_.Strings(itemIndex_) != text)
        itemIndex_ = -1;
    inherited::SetText(text);
    OnChange(this);
}

void TComboBox::ChooseItem(int index)
{
    const QString before = Text();
    SetItemIndex(index);
    if (Text() != before)
        OnChange(this);
    Click();
}

void TComboBox::SetSorted(bool v)
{
    sorted_ = v;
    items_.SetSorted(v);
}

void TComboBox::SetStyle(TComboBoxStyle v)
{
    style_ = v;
    SyncWidget();
}

// ---------------------------------------------------------------- TButton

void TButton::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetTabStop(true);
    SetBounds(Left(), Top(), 75, 25);
}

QWidget* TButton::CreateWidget()
{
    return Wire(new QPushButton());
}

QPushButton* TButton::Wire(QPushButton* button)
{
    QObject::connect(button, &QPushButton::clicked, button, [this] { DispatchSafely([this] { Click(); }); });
    return button;
}

void TButton::SyncWidget()
{
    inherited::SyncWidget();
    auto* button = static_cast<QPushButton*>(Widget());
    button->setText(Caption());
    button->setDefault(Default);
}

void TButton::Click()
{
    inherited::Click();
    if (ModalResult == mrNone)
        return;
    if (TWindowHost* form = WindowHostOf(this))
        form->SetModalResult(ModalResult);
}

// ---------------------------------------------------------------- TScrollBar

namespace {

bool ScrollCodeOf(int action, TScrollCode& code)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; return true;
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; return true;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; return true;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; return true;
    case QAbstractSlider::SliderToMinimum: code = scTop; return true;
    case QAbstractSlider::SliderToMaximum: code = scBottom; return true;
    case QAbstractSlider::SliderMove: code = scTrack; return true;
    default: return false;
    }
}

}  // namespace

void TScrollBar::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, kScrollBarThickness);
}

QWidget* TScrollBar::CreateWidget()
{
    auto* bar = new QScrollBar(Qt::Horizontal);
    // the bar has moved its slider but not yet taken the value: the handler
    // sees the step first and may change where it lands
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar](int action) {
        TScrollCode code;
        if (!ScrollCodeOf(action, code))
            return;
        DispatchSafely([this, bar, code] {
            Scroll(code, bar->sliderPosition());
            bar->setSliderPosition(position_);
            // a drag or a held button ends with the release
            scrolling_ = code == scTrack || QApplication::mouseButtons() != Qt::NoButton;
            if (!scrolling_)
                Scroll(scEndScroll, position_);
        });
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, bar] {
        DispatchSafely([this, bar] {
            Scroll(scPosition, bar->sliderPosition());
            EndScroll();
        });
    });
    return bar;
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    EndScroll();
}

void TScrollBar::EndScroll()
{
    if (!scrolling_)
        return;
    scrolling_ = false;
    Scroll(scEndScroll, position_);
}

void TScrollBar::SyncWidget()
{
    inherited::SyncWidget();
    auto* bar = static_cast<QScrollBar*>(Widget());
    const QSignalBlocker block(bar);
    bar->setOrientation(kind_ == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    bar->setRange(min_, max_);
    bar->setPageStep(largeChange_);
    bar->setSingleStep(smallChange_);
    bar->setValue(position_);
}

void TScrollBar::SetKind(TScrollBarKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    SyncWidget();
    // a stream gives the bounds of the final kind itself
    if (!IsLoading())
        SetBounds(Left(), Top(), Height(), Width());
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min)
        throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
    min_ = min;
    max_ = max;
    position_ = std::clamp(position, min, max);
    SyncWidget();
}

void TScrollBar::SetMin(int v)
{
    SetParams(position_, v, max_);
}

void TScrollBar::SetMax(int v)
{
    SetParams(position_, min_, v);
}

void TScrollBar::SetPosition(int v)
{
    SetParams(v, min_, max_);
}

void TScrollBar::SetLargeChange(int v)
{
    largeChange_ = v;
    SyncWidget();
}

void TScrollBar::SetSmallChange(int v)
{
    smallChange_ = v;
    SyncWidget();
}

void TScrollBar::Scroll(TScrollCode code, int position)
{
    int pos = std::clamp(position, min_, max_);
    OnScroll(this, code, pos);
    SetPosition(pos);
}
