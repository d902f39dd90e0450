// The main window's pages Demo1 to Demo5 (picking with the construction
// demonstration, group rotation, group shift, origin shift, a second
// control) and the File menu's picture, print and clipboard commands.
#include "OrvexGDIDemoUnit1.h"

#include "DemoApplication.h"
#include "DemoFileDialog.h"
#include "DemoNumbers.h"
#include "DemoWidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace orvex::demo {

namespace {
// Width of the number boxes on the pages.
constexpr int kEditWidth = 49;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kRed = 0x0000FF;
// The point demonstration's rays: five, 72 degrees apart.
constexpr int kRays = 5;
constexpr double kRayStep = 72;

const QString kPictureFilter =
    QStringLiteral("BMP Files (*.bmp)|*.bmp|GIF Files (*.gif)|*.gif|JPEG Files {*.jpg)|*.jpg|ALL Files (*.*)|*.*");

// A number box with its caption to the left.
QLineEdit* add_number(QWidget* parent, const char* labelName, const QString& caption, const char* editName,
                      const QString& text, int left, int top)
{
    AddLabelBefore(parent, labelName, caption, left, top);
    return AddEdit(parent, editName, text, left, top, kEditWidth);
}

TDPoint slots_1_to_3(const TElement& e) { return {e.GetCoord(1), e.GetCoord(2), e.GetCoord(3)}; }
TDPoint slots_4_to_6(const TElement& e) { return {e.GetCoord(4), e.GetCoord(5), e.GetCoord(6)}; }
} // namespace

// ---------------------------------------------------------------- layout

void TForm1::create_page_demo1(QWidget* Page)
{
    QGroupBox* pick = AddGroupBox(Page, "GroupBox4", QStringLiteral("Pick"), 4, 4, 237, 221);
    Button3 = add_command_button(&TForm1::Button3Click, pick, "Button3", QStringLiteral("Pick Element"), 30, 16);
    CheckBox5 = AddCheckBox(pick, "CheckBox5", QStringLiteral("Tangro Demo"), 132, 16);
    Label17 = AddLabel(pick, "Label17", QStringLiteral("Element"), 8, 40);
    AddLabel(pick, "Label5", QStringLiteral("Near Endpoint:"), 8, 62);
    Label13 = AddLabel(pick, "Label13", QStringLiteral("0"), 80, 62);
    AddLabel(pick, "Label6", QStringLiteral("Far Endpoint:"), 8, 82);
    Label14 = AddLabel(pick, "Label14", QStringLiteral("0"), 76, 82);
    AddLabel(pick, "Label7", QStringLiteral("Midpoint:"), 8, 102);
    Label15 = AddLabel(pick, "Label15", QStringLiteral("0"), 56, 102);
    AddLabel(pick, "Label12", QStringLiteral("Closest Point:"), 8, 122);
    Label16 = AddLabel(pick, "Label16", QStringLiteral("0"), 76, 122);
    Label34 = AddLabel(pick, "Label34", QStringLiteral("-----"), 8, 140);
    Label35 = AddLabel(pick, "Label35", QStringLiteral("------"), 8, 158);
    AddLabel(pick, "Label18", QStringLiteral("Pick Filter:"), 12, 175);
    CheckBox2 = AddCheckBox(pick, "CheckBox2", QStringLiteral("Points"), 12, 191);
    CheckBox3 = AddCheckBox(pick, "CheckBox3", QStringLiteral("Lines"), 68, 191);
    CheckBox4 = AddCheckBox(pick, "CheckBox4", QStringLiteral("Arcs"), 124, 191);
}

void TForm1::create_page_demo2(QWidget* Page)
{
    QGroupBox* group = AddGroupBox(Page, "GroupBox5", QStringLiteral("Rotate Group"), 4, 8, 237, 145);
    add_command_button(&TForm1::Button4Click, group, "Button4", QStringLiteral("Make Group"), 20, 20);
    add_command_button(&TForm1::Button8Click, group, "Button8", QStringLiteral("Clear Group"), 104, 20);
    Edit7 = add_number(group, "Label21", QStringLiteral("Angle:"), "Edit7", QStringLiteral("30"), 44, 44);
    CheckBox6 = AddCheckBox(group, "CheckBox6", QStringLiteral("Leave Original"), 108, 56);
    Edit8 = add_number(group, "Label22", QStringLiteral("CenterX:"), "Edit8", QStringLiteral("0"), 48, 68);
    Edit9 = add_number(group, "Label23", QStringLiteral("CenterY:"), "Edit9", QStringLiteral("0"), 48, 92);
    add_command_button(&TForm1::Button5Click, group, "Button5", QStringLiteral("Rotate"), 104, 88);
    Edit10 = add_number(group, "Label24", QStringLiteral("Number of Times:"), "Edit10", QStringLiteral("1"), 100, 116);
    CheckBox9 = AddCheckBox(Page, "CheckBox9", QStringLiteral("Linearcs"), 16, 164);
    connect(CheckBox9, &QCheckBox::toggled, this, Command(this, &TForm1::CheckBox9Click));
}

void TForm1::create_page_demo3(QWidget* Page)
{
    QGroupBox* group = AddGroupBox(Page, "GroupBox6", QStringLiteral("Shift"), 8, 12, 265, 213);
    add_command_button(&TForm1::Button4Click, group, "Button10", QStringLiteral("Make Group"), 20, 20);
    add_command_button(&TForm1::Button8Click, group, "Button9", QStringLiteral("Clear Group"), 104, 20);
    CheckBox7 = AddCheckBox(group, "CheckBox7", QStringLiteral("Leave Original"), 108, 56);
    Edit12 = add_number(group, "Label26", QStringLiteral("Shift X:"), "Edit12", QStringLiteral("2"), 48, 68);
    Edit13 = add_number(group, "Label27", QStringLiteral("Shift Y:"), "Edit13", QStringLiteral("2"), 48, 92);
    add_command_button(&TForm1::Button11Click, group, "Button11", QStringLiteral("Shift"), 104, 88);
    Edit14 = add_number(group, "Label28", QStringLiteral("Number of Times:"), "Edit14", QStringLiteral("1"), 100, 116);
    add_command_button(&TForm1::Button14Click, group, "Button14", QStringLiteral("Delete Group"), 156, 132);
    add_command_button(&TForm1::Button15Click, group, "Button15", QStringLiteral("Reset Extents"), 64, 176);
}

void TForm1::create_page_demo4(QWidget* Page)
{
    QGroupBox* group = AddGroupBox(Page, "GroupBox7", QStringLiteral("New Origin"), 8, 24, 189, 117);
    Edit11 = add_number(group, "Label25", QStringLiteral("Shift X:"), "Edit11", QStringLiteral("5"), 52, 20);
    Edit15 = add_number(group, "Label29", QStringLiteral("Shift Y:"), "Edit15", QStringLiteral("4"), 52, 48);
    Edit16 = add_number(group, "Label30", QStringLiteral("Shift Z:"), "Edit16", QStringLiteral("0"), 52, 76);
    add_command_button(&TForm1::Button12Click, group, "Button12", QStringLiteral("Shift Origin"), 104, 72);
    add_command_button(&TForm1::Button16Click, Page, "Button16", QStringLiteral("Get"), 18, 178, 41);
    AddLabel(Page, "Label32", QStringLiteral("Extents:"), 64, 178);
    Label33 = AddLabel(Page, "Label33", QStringLiteral("--"), 108, 170);
    Label36 = AddLabel(Page, "Label36", QStringLiteral("---"), 108, 188);
    add_command_button(&TForm1::Button18Click, Page, "Button18", QStringLiteral("Button18"), 207, 87);
}

void TForm1::create_page_demo5(QWidget* Page)
{
    AddLabel(Page, "Label31", QStringLiteral("More than one control"), 16, 8);
    OrvexGDI2 = create_drawing_control(Page, "OrvexGDI2", QRect(24, 24, 233, 171));
    OrvexGDI2->SetAntiAlias(true);
    add_command_button(&TForm1::Button13Click, Page, "Button13", QStringLiteral("Load File"), 208, 209);
    add_command_button(&TForm1::Button17Click, Page, "Button17", QStringLiteral("Clear"), 16, 206);
}

// ---------------------------------------------------------------- Demo1: picking

TDFilter TForm1::PickFilterFromBoxes() const
{
    const bool points = CheckBox2->isChecked();
    const bool lines = CheckBox3->isChecked();
    const bool arcs = CheckBox4->isChecked();
    // The last rule that applies wins: no box and all three both pick all.
    TDFilter filter = fAll;
    if (points)
        filter = fPoints;
    if (lines)
        filter = fLines;
    if (arcs)
        filter = fArcs;
    if (points && lines)
        filter = fPointLine;
    if (points && arcs)
        filter = fPointArc;
    if (lines && arcs)
        filter = fLineArc;
    if (points && lines && arcs)
        filter = fAll;
    return filter;
}

void TForm1::Button3Click()
{
    OrvexGDI1->SetPickFilter(PickFilterFromBoxes());
    OrvexGDI1->setCursor(Qt::CrossCursor);
    OrvexGDI1->Pick();
}

void TForm1::OrvexGDI1Pick(QObject*, int ElementNumber, TDPoint NearEnd, TDPoint FarEnd, TDPoint Mid, TDPoint Closest)
{
    SetCaption(Label34, QString());
    SetCaption(Label35, QString());
    const TElement& element = OrvexGDI1->GetElement(ElementNumber);
    OrvexGDI1->SetCurrentColor(kYellow);
    const QString number = QString::number(ElementNumber);
    const bool tangro = CheckBox5->isChecked();

    switch (element.GetEtype()) {
    case etPoint: {
        const TDPoint p = slots_1_to_3(element);
        OrvexGDI1->DrawPoint(p.X, p.Y, p.Z);
        SetCaption(Label17, QStringLiteral("Point[") + number + QLatin1Char(']'));
        if (tangro) {
            // Rays of half the view size from the point, their ends stored.
            for (int i = 1; i <= kRays; ++i) {
                const TDPoint from = TangroGDI1->PointFromElement(element);
                TDLine ray;
                TangroGDI1->LinePointAngle(from, i * kRayStep, OrvexGDI1->GetViewSize() / 2, ray);
                OrvexGDI1->DrawLineX(ray);
                OrvexGDI1->DrawPointX(ray.P2);
                OrvexGDI1->MakePointX(ray.P2);
            }
        }
        break;
    }
    case etLine: {
        const TDPoint start = slots_1_to_3(element);
        const TDPoint end = slots_4_to_6(element);
        OrvexGDI1->DrawLine(start.X, start.Y, start.Z, end.X, end.Y, end.Z);
        SetCaption(Label17, QStringLiteral("Line[") + number + QLatin1Char(']'));
        if (tangro) {
            // The circle on the line as diameter, then the two circles of
            // the line's length through both ends; only the second is kept.
            const TDPoint p1 = TangroGDI1->PointFromElement(element);
            TDArc a, a2;
            TangroGDI1->ArcBetween2Points(p1, end, 0, 360, a);
            OrvexGDI1->DrawArcX(a);
            const double length = TangroGDI1->Distance2Points(p1, end);
            TangroGDI1->ArcThrough2Points(p1, end, length, 0, 360, a, a2);
            OrvexGDI1->SetCurrentColor(kRed);
            OrvexGDI1->DrawArcX(a);
            OrvexGDI1->DrawArcX(a2);
            OrvexGDI1->MakeArcX(a2);
        }
        break;
    }
    case etArc: {
        OrvexGDI1->DrawArc(element.GetView(), element.GetCoord(1), element.GetCoord(2), element.GetCoord(3),
                           element.GetCoord(4), element.GetCoord(5), element.GetCoord(6));
        SetCaption(Label17, QStringLiteral("Arc[") + number + QLatin1Char(']'));
        SetCaption(Label34, FormatFloat(QStringLiteral("Start Angle = %8.3f"), {element.GetCoord(5)}));
        SetCaption(Label35, FormatFloat(QStringLiteral("End Angle = %8.3f"), {element.GetCoord(6)}));
        if (tangro) {
            // The line from the picked spot to the centre.
            const TDPoint centre = TangroGDI1->PointFromElement(element);
            TDLine line;
            TangroGDI1->Line2Points(Closest, centre, line);
            OrvexGDI1->DrawLineX(line);
            OrvexGDI1->MakeLineX(line);
        }
        break;
    }
    default:
        break;
    }

    const QString pointFormat = QStringLiteral("X%8.3fY%8.3fZ%8.3f");
    SetCaption(Label13, FormatFloat(pointFormat, {NearEnd.X, NearEnd.Y, NearEnd.Z}));
    SetCaption(Label14, FormatFloat(pointFormat, {FarEnd.X, FarEnd.Y, FarEnd.Z}));
    SetCaption(Label15, FormatFloat(pointFormat, {Mid.X, Mid.Y, Mid.Z}));
    SetCaption(Label16, FormatFloat(pointFormat, {Closest.X, Closest.Y, Closest.Z}));
    OrvexGDI1->unsetCursor();
}

// ---------------------------------------------------------------- Demo2 and Demo3: groups

void TForm1::Button4Click() { OrvexGDI1->AddToGroup(0); }
void TForm1::Button8Click() { OrvexGDI1->ClearGroup(); }

void TForm1::Button5Click()
{
    const double angle = StrToFloat(Edit7->text());
    const double pivotU = StrToFloat(Edit8->text());
    const double pivotV = StrToFloat(Edit9->text());
    const int times = StrToInt(Edit10->text());
    OrvexGDI1->RotateGroup(angle, pivotU, pivotV, times, CheckBox6->isChecked());
    OrvexGDI1->Redraw();
}

void TForm1::CheckBox9Click() { OrvexGDI1->Settings->PolylineArcs = CheckBox9->isChecked(); }

void TForm1::Button11Click()
{
    const double dx = StrToFloat(Edit12->text());
    const double dy = StrToFloat(Edit13->text());
    const int times = StrToInt(Edit14->text());
    OrvexGDI1->ShiftGroup(dx, dy, 0, times, CheckBox7->isChecked());
}

void TForm1::Button14Click()
{
    OrvexGDI1->DeleteGroup();
    OrvexGDI1->SetExtents();
}

void TForm1::Button15Click() { OrvexGDI1->SetExtents(); }

// ---------------------------------------------------------------- Demo4: origin and extents

void TForm1::Button12Click()
{
    const double x = StrToFloat(Edit11->text());
    const double y = StrToFloat(Edit15->text());
    const double z = StrToFloat(Edit16->text());
    OrvexGDI1->NewOrigin(x, y, z);
    OrvexGDI1->SetExtents();
}

void TForm1::Button16Click()
{
    const TSettings& s = *OrvexGDI1->Settings;
    SetCaption(Label33, FormatFloat(QStringLiteral("Max=X%8.3fY%8.3f"), {s.ExtentMaxX, s.ExtentMaxY}));
    SetCaption(Label36, FormatFloat(QStringLiteral("Min=X%8.3fY%8.3f"), {s.ExtentMinX, s.ExtentMinY}));
}

void TForm1::Button18Click() { OrvexGDI1->Redraw(); }

// ---------------------------------------------------------------- Demo5: a second control

void TForm1::Button13Click()
{
    const QString name = ChooseDrawingFile(*OrvexGDI2);
    if (!name.isEmpty())
        ReadDrawingFile(*OrvexGDI2, name, false);
}

void TForm1::Button17Click() { OrvexGDI1->ClearElements(); }

// ---------------------------------------------------------------- File menu: output

QString TForm1::ChoosePictureFile(int FilterIndex, const QString& DefaultExt)
{
    SaveDialog1->SetFilter(kPictureFilter);
    SaveDialog1->SetDefaultExt(DefaultExt);
    SaveDialog1->SetFilterIndex(FilterIndex);
    return SaveDialog1->Execute();
}

void TForm1::SaveBMP1Click()
{
    const QString name = ChoosePictureFile(1, QStringLiteral(".bmp"));
    if (!name.isEmpty())
        OrvexGDI1->SaveBMP(name);
}

void TForm1::SaveGIF1Click()
{
    const QString name = ChoosePictureFile(2, QStringLiteral(".gif"));
    if (!name.isEmpty())
        OrvexGDI1->SaveGIF(name);
}

void TForm1::SaveJPEG1Click()
{
    const QString name = ChoosePictureFile(3, QStringLiteral(".jpg"));
    if (!name.isEmpty())
        OrvexGDI1->SaveJPEG(name);
}

bool TForm1::ChoosePrinter()
{
    // The printer, or a PDF file when none is installed, is the user's
    // choice; the control prints on whatever was chosen.
    QPrintDialog dialog(&TOrvexGDI::Printer(), this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    return dialog.exec() == QDialog::Accepted;
}

void TForm1::PrintCad1Click()
{
    if (ChoosePrinter())
        OrvexGDI1->PrintCad();
}

void TForm1::PrintBitmap1Click()
{
    if (ChoosePrinter())
        OrvexGDI1->PrintBMP();
}

void TForm1::Metafile1Click() { OrvexGDI1->WmfToClipboard(); }
void TForm1::Bitmap1Click() { OrvexGDI1->BmpToClipboard(); }

} // namespace orvex::demo
