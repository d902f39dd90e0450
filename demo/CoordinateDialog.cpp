#include "CoordinateDialog.h"

#include "DemoApplication.h"
#include "DemoNumbers.h"
#include "DemoWidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

namespace orvex::demo {

namespace {
constexpr int kFontPixels = 11;
constexpr int kLabelGap = 4;
} // namespace

TCoordinateDialog::TCoordinateDialog(TOrvexGDI* target, QWidget* Parent, const char* Name, const QString& Caption,
                                     const std::vector<TEntryField>& Fields, const TEntryLayout& Layout)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Target(target)
{
    setObjectName(QLatin1String(Name));
    setWindowTitle(Caption);
    setFixedSize(Layout.Client);
    QFont small = font();
    small.setPixelSize(kFontPixels);
    // The layout was made for a narrow font; a condensed face keeps the
    // captions clear of their neighbours where the system has one.
    small.setStretch(QFont::Condensed);
    setFont(small);

    int number = 1;
    for (const TEntryField& field : Fields) {
        const QByteArray labelName = "Label" + QByteArray::number(number);
        const QByteArray editName = "Edit" + QByteArray::number(number);
        QLabel* label = AddLabel(this, labelName.constData(), field.Caption, field.LabelAt.x(), field.LabelAt.y());
        // A caption wider than the toolkit's font allows for moves left
        // rather than run under its box.
        const int latestLeft = field.EditLeft - kLabelGap - label->width();
        label->move(std::max(kLabelGap, std::min(field.LabelAt.x(), latestLeft)), field.LabelAt.y());
        edits_.push_back(
            AddEdit(this, editName.constData(), QString(), field.EditLeft, field.EditTop, field.EditWidth));
        ++number;
    }

    RadioButton1 =
        AddRadioButton(this, "RadioButton1", QStringLiteral("Draw Only"), Layout.DrawOnly.x(), Layout.DrawOnly.y());
    RadioButton2 = AddRadioButton(this, "RadioButton2", QStringLiteral("Draw and Save to Memory"),
                                  Layout.DrawAndSave.x(), Layout.DrawAndSave.y());
    RadioButton1->setChecked(true);

    BitBtn1 = AddButton(this, "BitBtn1", QStringLiteral("OK"), Layout.Ok.x(), Layout.Ok.y());
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, Command(this, &TCoordinateDialog::BitBtn1Click));
    BitBtn2 = AddButton(this, "BitBtn2", QStringLiteral("Cancel"), Layout.Cancel.x(), Layout.Cancel.y());
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<double> TCoordinateDialog::read_values() const
{
    std::vector<double> values;
    values.reserve(edits_.size());
    for (const QLineEdit* edit : edits_)
        values.push_back(StrToFloat(edit->text()));
    return values;
}

void TCoordinateDialog::BitBtn1Click()
{
    DrawFigure(read_values());
    if (RadioButton2->isChecked())
        MakeFigure(read_values());
    accept();
}

void TCoordinateDialog::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    CenterOnScreen(this);
}

} // namespace orvex::demo
