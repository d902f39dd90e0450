#include "DemoWidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

namespace orvex::demo {

namespace {
// The framework's standard control metrics at 96 dots per inch.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonPadding = 12;
constexpr int kEditHeight = 21;
constexpr int kLabelGap = 4;
// A label's text sits this far below the top of the edit box beside it.
constexpr int kLabelDrop = 4;

// The toolkit's style with less room beside a tab's caption.
class TCompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override
    {
        if (Metric == PM_TabBarTabHSpace)
            return kTabCaptionSpace;
        return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }

private:
    static constexpr int kTabCaptionSpace = 10;
};

template <typename Control>
Control* place(Control* control, const char* Name, int Left, int Top)
{
    control->setObjectName(QLatin1String(Name));
    control->adjustSize();
    control->move(Left, Top);
    return control;
}
} // namespace

QLabel* AddLabel(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top)
{
    return place(new QLabel(Caption, Parent), Name, Left, Top);
}

QLabel* AddLabelBefore(QWidget* Parent, const char* Name, const QString& Caption, int ToLeftOf, int Top)
{
    QLabel* label = AddLabel(Parent, Name, Caption, 0, Top + kLabelDrop);
    label->move(std::max(kLabelGap, ToLeftOf - kLabelGap - label->width()), Top + kLabelDrop);
    return label;
}

QPushButton* AddButton(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top, int Width)
{
    auto* button = place(new QPushButton(Caption, Parent), Name, Left, Top);
    // The style's own minimum would widen short buttons past their neighbours.
    const int textWidth = button->fontMetrics().horizontalAdvance(Caption) + kButtonPadding;
    button->resize(std::max(Width > 0 ? Width : kButtonWidth, textWidth), kButtonHeight);
    return button;
}

QLineEdit* AddEdit(QWidget* Parent, const char* Name, const QString& Text, int Left, int Top, int Width)
{
    auto* edit = place(new QLineEdit(Text, Parent), Name, Left, Top);
    edit->resize(Width, kEditHeight);
    return edit;
}

QCheckBox* AddCheckBox(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top)
{
    return place(new QCheckBox(Caption, Parent), Name, Left, Top);
}

QRadioButton* AddRadioButton(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top)
{
    return place(new QRadioButton(Caption, Parent), Name, Left, Top);
}

QGroupBox* AddGroupBox(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top, int Width,
                       int Height)
{
    auto* group = new QGroupBox(Caption, Parent);
    group->setObjectName(QLatin1String(Name));
    group->setGeometry(Left, Top, Width, Height);
    return group;
}

void SetCaption(QLabel* Label, const QString& Caption)
{
    Label->setText(Caption);
    Label->adjustSize();
}

void UseCompactTabs(QTabWidget* Pages)
{
    auto* style = new TCompactTabStyle;
    style->setParent(Pages); // the style lives as long as the page control
    Pages->tabBar()->setStyle(style);
}

void CenterOnScreen(QWidget* Window)
{
    const QScreen* screen = Window->screen();
    if (screen == nullptr)
        return;
    QRect frame = Window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    Window->move(frame.topLeft());
}

} // namespace orvex::demo
