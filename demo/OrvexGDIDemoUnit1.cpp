// The main window's layout, its menus, page Demo6 and the commands on the
// drawing files, the views, the zoom (with the host-side zoom window) and
// the entry dialogs.
#include "OrvexGDIDemoUnit1.h"

#include "DemoApplication.h"
#include "DemoFileDialog.h"
#include "DemoNumbers.h"
#include "DemoWidgets.h"
#include "ZoomBandOverlay.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include <stdexcept>

namespace orvex::demo {

namespace {
// The window's client area: its outer size 658 x 429 less a 4-pixel border
// on each side, the 23-pixel title bar and the 20-pixel menu bar of the
// window system it was laid out on. The menu bar comes on top of it here.
constexpr int kClientWidth = 650;
constexpr int kClientHeight = 378;
constexpr int kFontPixels = 11;
const QColor kSilver(192, 192, 192);
constexpr TColor kLimeGreen = 0x00FF00;

const QString kDrawingFilter = QStringLiteral(
    "OVX Files (*.ovx)|*.ovx|DXF Files (*.dxf)|*.dxf|IGES Files (*.igs;*.iges)|*.igs;*.iges|ALL Files (*.*)|*.*");
const QString kDrawingExt = QStringLiteral(".ovx");

TColor framework_color(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
} // namespace

TForm1::TForm1(QWidget* Parent)
    : QMainWindow(Parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvex Demo"));
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    setPalette(silver);
    setAutoFillBackground(true);
    QFont small = font();
    small.setPixelSize(kFontPixels);
    // The layout was made for a narrow font; a condensed face keeps the
    // captions clear of their neighbours where the system has one.
    small.setStretch(QFont::Condensed);
    setFont(small);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1Client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    OrvexGDI1 = create_drawing_control(client, "OrvexGDI1", QRect(2, 3, 337, 369));

    PageControl1 = new QTabWidget(client);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(351, -1, 293, 265);
    UseCompactTabs(PageControl1);
    using PageBuilder = void (TForm1::*)(QWidget*);
    const PageBuilder pages[] = {&TForm1::create_page_demo1, &TForm1::create_page_demo2, &TForm1::create_page_demo3,
                                 &TForm1::create_page_demo4, &TForm1::create_page_demo5, &TForm1::create_page_demo6};
    int number = 0;
    for (const PageBuilder build : pages) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("TabSheet%1").arg(++number));
        PageControl1->addTab(page, QStringLiteral("Demo%1").arg(number));
        (this->*build)(page);
    }
    PageControl1->setCurrentIndex(5);

    create_common_readouts(client);

    TangroGDI1 = new TTangroGDI(this);
    TangroGDI1->setObjectName(QStringLiteral("TangroGDI1"));
    OpenDialog1 = new TFileDialog(this, "OpenDialog1", TFileDialog::dkOpen);
    OpenDialog1->SetDefaultExt(kDrawingExt);
    SaveDialog1 = new TFileDialog(this, "SaveDialog1", TFileDialog::dkSave);
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);

    create_menus();
    connect_control_events();
    // Last, so the outline lies above every control.
    ZoomBand = new TZoomBandOverlay(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TForm1::~TForm1() = default;

void TForm1::SetEntryDialogs(QDialog* Point, QDialog* Line, QDialog* Arc)
{
    pointDialog_ = Point;
    lineDialog_ = Line;
    arcDialog_ = Arc;
}

void TForm1::showEvent(QShowEvent* Event)
{
    QMainWindow::showEvent(Event);
    if (!centred_) {
        centred_ = true;
        CenterOnScreen(this);
    }
}

// ---------------------------------------------------------------- layout

TOrvexGDI* TForm1::create_drawing_control(QWidget* Parent, const char* Name, const QRect& Geometry)
{
    auto* control = new TOrvexGDI(Parent);
    control->setObjectName(QLatin1String(Name));
    control->setGeometry(Geometry);
    control->SetTransparent(true);
    control->SetCurrentColor(kLimeGreen);
    control->SetCadType(0); // stored as 1, OVX
    // Drawings of other CAD programs open whole: blocks, polylines, splines, ...
    control->SetImportMode(imFull);
    // Large drawings stay interactive: the picture is drawn on every core,
    // a pan drag shows the whole drawing, the wheel zooms about the cursor.
    control->SetWheelZoom(true);
    control->SetRenderThreads(0);
    control->SetLivePan(true);
    control->SetVersion(QStringLiteral("2.1"));
    return control;
}

QPushButton* TForm1::add_command_button(void (TForm1::*Handler)(), QWidget* Parent, const char* Name,
                                        const QString& Caption, int Left, int Top, int Width)
{
    QPushButton* button = AddButton(Parent, Name, Caption, Left, Top, Width);
    connect(button, &QPushButton::clicked, this, Command(this, Handler));
    return button;
}

void TForm1::create_menus()
{
    auto item = [this](QMenu* menu, const char* name, const QString& caption, void (TForm1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, Command(this, handler));
        return action;
    };
    auto submenu = [](QMenu* menu, const char* name, const QString& caption) {
        QMenu* sub = menu->addMenu(caption);
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        return sub;
    };
    auto top = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = top("File1", QStringLiteral("File"));
    item(file, "LoadCAD", QStringLiteral("Load CAD"), &TForm1::LoadCADClick);
    item(file, "MergeCAD1", QStringLiteral("Merge CAD"), &TForm1::MergeCAD1Click);
    item(file, "SaveCAD", QStringLiteral("Save CAD"), &TForm1::SaveCADClick);
    item(file, "SaveBMP1", QStringLiteral("Save BMP"), &TForm1::SaveBMP1Click);
    item(file, "SaveGIF1", QStringLiteral("Save GIF"), &TForm1::SaveGIF1Click);
    item(file, "SaveJPEG1", QStringLiteral("Save JPEG"), &TForm1::SaveJPEG1Click);
    item(file, "PrintCad1", QStringLiteral("PrintCAD"), &TForm1::PrintCad1Click);
    item(file, "PrintBitmap1", QStringLiteral("PrintBitmap"), &TForm1::PrintBitmap1Click);
    QMenu* clipboard = submenu(file, "SendtoClipboard1", QStringLiteral("Send to Clipboard"));
    item(clipboard, "Metafile1", QStringLiteral("Metafile"), &TForm1::Metafile1Click);
    item(clipboard, "Bitmap1", QStringLiteral("Bitmap"), &TForm1::Bitmap1Click);

    QMenu* view = top("View1", QStringLiteral("View"));
    item(view, "TopView1", QStringLiteral("Top View"), &TForm1::TopView1Click);
    item(view, "FrontView1", QStringLiteral("Front View"), &TForm1::FrontView1Click);
    item(view, "SideView1", QStringLiteral("Side View"), &TForm1::SideView1Click);
    item(view, "ISOView1", QStringLiteral("ISO View"), &TForm1::ISOView1Click);
    item(view, "BackgroundColor1", QStringLiteral("Background Color..."), &TForm1::BackgroundColor1Click);
    QMenu* zoom = submenu(view, "Zoom1", QStringLiteral("Zoom"));
    item(zoom, "ZoomAll1", QStringLiteral("Zoom All"), &TForm1::ZoomAll1Click);
    item(zoom, "ZoomHalf1", QStringLiteral("Zoom Half"), &TForm1::ZoomHalf1Click);
    item(zoom, "ZoomDouble1", QStringLiteral("Zoom Double"), &TForm1::ZoomDouble1Click);
    item(zoom, "ZoomWindow1", QStringLiteral("Zoom Window"), &TForm1::ZoomWindow1Click);
    item(view, "Redraw1", QStringLiteral("Redraw"), &TForm1::Redraw1Click);
    Axis1 = item(view, "Axis1", QStringLiteral("Axis"), &TForm1::Axis1Click);
    Axis1->setCheckable(true);

    QMenu* draw = top("Draw1", QStringLiteral("Draw"));
    item(draw, "Point1", QStringLiteral("Point..."), &TForm1::Point1Click);
    item(draw, "Line1", QStringLiteral("Line..."), &TForm1::Line1Click);
    item(draw, "Arc1", QStringLiteral("Arc..."), &TForm1::Arc1Click);
    item(draw, "CurrentColor1", QStringLiteral("Current Color..."), &TForm1::CurrentColor1Click);
}

void TForm1::create_common_readouts(QWidget* Client)
{
    GroupBox8 = AddGroupBox(Client, "GroupBox8", QString(), 351, 261, 293, 104);
    Button1 = add_command_button(&TForm1::ZoomAll1Click, GroupBox8, "Button1", QStringLiteral("Zoom All"), 10, 20);
    Label19 = AddLabel(GroupBox8, "Label19", QStringLiteral("Element Count:"), 105, 17);
    Label20 = AddLabel(GroupBox8, "Label20", QStringLiteral("0"), 183, 16);
    CheckBox8 = AddCheckBox(GroupBox8, "CheckBox8", QStringLiteral("Anti Alias"), 103, 44);
    connect(CheckBox8, &QCheckBox::toggled, this, Command(this, &TForm1::CheckBox8Click));
    CheckBox1 = AddCheckBox(GroupBox8, "CheckBox1", QStringLiteral("Show Mouse Coordinates"), 10, 67);
    CheckBox1->setChecked(true);
    Label1 = AddLabel(GroupBox8, "Label1", QStringLiteral("0.0"), 10, 88);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);
    BitBtn1 = AddButton(GroupBox8, "BitBtn1", QStringLiteral("Close"), 206, 43);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

void TForm1::create_page_demo6(QWidget* Page)
{
    QGroupBox* rotate = AddGroupBox(Page, "GroupBox3", QStringLiteral("Rotate View Around:"), 3, 12, 113, 133);
    AddLabel(rotate, "Label2", QStringLiteral("X Axis:"), 12, 24);
    AddLabel(rotate, "Label3", QStringLiteral("Y Axis:"), 12, 52);
    AddLabel(rotate, "Label4", QStringLiteral("Z Axis:"), 12, 80);
    Edit4 = AddEdit(rotate, "Edit4", QStringLiteral("45"), 48, 20, 49);
    Edit5 = AddEdit(rotate, "Edit5", QStringLiteral("45"), 48, 48, 49);
    Edit6 = AddEdit(rotate, "Edit6", QStringLiteral("45"), 48, 76, 49);
    add_command_button(&TForm1::Button2Click, rotate, "Button2", QStringLiteral("Rotate"), 24, 108);

    QGroupBox* centre = AddGroupBox(Page, "GroupBox1", QStringLiteral("Screen Center"), 135, 12, 114, 118);
    AddLabel(centre, "Label10", QStringLiteral(" is X"), 18, 24);
    AddLabel(centre, "Label11", QStringLiteral("and Y"), 13, 52);
    Edit2 = AddEdit(centre, "Edit2", QString(), 44, 20, 53);
    Edit3 = AddEdit(centre, "Edit3", QString(), 44, 48, 53);
    add_command_button(&TForm1::Button7Click, centre, "Button7", QStringLiteral("Update"), 40, 84, 65);

    QGroupBox* scale = AddGroupBox(Page, "GroupBox2", QStringLiteral("Scale"), 3, 151, 197, 81);
    AddLabel(scale, "Label8", QStringLiteral("Window View="), 7, 24);
    // Fixed text: the unit label of the control does not change it.
    AddLabel(scale, "Label9", QStringLiteral("Inches"), 159, 28);
    Edit1 = AddEdit(scale, "Edit1", QString(), 84, 23, 69);
    add_command_button(&TForm1::Button6Click, scale, "Button6", QStringLiteral("Update"), 15, 50);
}

void TForm1::connect_control_events()
{
    // The host's handlers run through the standard exception handling; the
    // control would drop their errors silently.
    OrvexGDI1->OnMouseDown = [this](QObject* sender, Qt::MouseButton button, TShiftState shift, int x, int y) {
        RunCommand([&] { OrvexGDI1MouseDown(sender, button, shift, x, y); });
    };
    OrvexGDI1->OnMouseMove = [this](QObject* sender, TShiftState shift, int x, int y) {
        RunCommand([&] { OrvexGDI1MouseMove(sender, shift, x, y); });
    };
    OrvexGDI1->OnMouseUp = [this](QObject* sender, Qt::MouseButton button, TShiftState shift, int x, int y) {
        RunCommand([&] { OrvexGDI1MouseUp(sender, button, shift, x, y); });
    };
    OrvexGDI1->OnPick = [this](QObject* sender, int index, TDPoint nearEnd, TDPoint farEnd, TDPoint mid,
                               TDPoint closest) {
        RunCommand([&] { OrvexGDI1Pick(sender, index, nearEnd, farEnd, mid, closest); });
    };
    OrvexGDI1->OnZoom = [this](QObject* sender, double size, double x, double y) {
        RunCommand([&] { OrvexGDI1Zoom(sender, size, x, y); });
    };
    OrvexGDI1->OnChangeView = [this](QObject* sender, TDView view) {
        RunCommand([&] { OrvexGDI1ChangeView(sender, view); });
    };
}

// ---------------------------------------------------------------- drawing files

QString TForm1::ChooseDrawingFile(TOrvexGDI& Target)
{
    OpenDialog1->SetFilter(kDrawingFilter);
    OpenDialog1->SetFilterIndex(1);
    OpenDialog1->SetDefaultExt(kDrawingExt);
    const QString name = OpenDialog1->Execute();
    if (!name.isEmpty())
        Target.SetCadType(CadTypeOfFile(name));
    return name;
}

void TForm1::ReadDrawingFile(TOrvexGDI& Target, const QString& FileName, bool Merge)
{
    const int before = Target.Elements->Count();
    Merge ? Target.MergeFile(FileName) : Target.LoadFromFile(FileName);
    Target.ZoomAll();
    // A file the reader found nothing in would otherwise just show an empty picture.
    if (Target.Elements->Count() == (Merge ? before : 0))
        throw std::runtime_error(QFileInfo(FileName).fileName().toStdString() +
                                 ": no drawing element was found in this file");
}

void TForm1::LoadCADClick()
{
    const QString name = ChooseDrawingFile(*OrvexGDI1);
    if (!name.isEmpty())
        ReadDrawingFile(*OrvexGDI1, name, false);
}

void TForm1::MergeCAD1Click()
{
    const QString name = ChooseDrawingFile(*OrvexGDI1);
    if (!name.isEmpty())
        ReadDrawingFile(*OrvexGDI1, name, true);
}

void TForm1::SaveCADClick()
{
    SaveDialog1->SetFilter(kDrawingFilter);
    SaveDialog1->SetFilterIndex(1);
    SaveDialog1->SetDefaultExt(kDrawingExt);
    const QString name = SaveDialog1->Execute();
    if (name.isEmpty())
        return;
    OrvexGDI1->SetCadType(CadTypeOfFile(name));
    OrvexGDI1->SaveToFile(name);
}

// ---------------------------------------------------------------- views and colours

void TForm1::TopView1Click() { OrvexGDI1->SetView(vTOP); }
void TForm1::FrontView1Click() { OrvexGDI1->SetView(vFRONT); }
void TForm1::SideView1Click() { OrvexGDI1->SetView(vSIDE); }
void TForm1::ISOView1Click() { OrvexGDI1->SetView(vISO); }

bool TForm1::ChooseColor(TColor& Colour)
{
    if (ColorDialog1->exec() != QDialog::Accepted)
        return false;
    Colour = framework_color(ColorDialog1->selectedColor());
    return true;
}

void TForm1::BackgroundColor1Click()
{
    TColor colour = 0;
    if (ChooseColor(colour))
        OrvexGDI1->SetBackgroundColor(colour);
}

void TForm1::CurrentColor1Click()
{
    TColor colour = 0;
    if (ChooseColor(colour))
        OrvexGDI1->SetCurrentColor(colour);
}

void TForm1::Redraw1Click() { OrvexGDI1->Redraw(); }

void TForm1::Axis1Click()
{
    // The menu item has already toggled its check mark.
    const bool shown = Axis1->isChecked();
    OrvexGDI1->SetShowAxis(shown);
    if (shown) {
        OrvexGDI1->DrawAxis();
        OrvexGDI1->update(); // the axis is drawn into the picture only
    } else {
        OrvexGDI1->Redraw();
    }
}

void TForm1::CheckBox8Click() { OrvexGDI1->SetAntiAlias(CheckBox8->isChecked()); }

// ---------------------------------------------------------------- zoom

void TForm1::ZoomAll1Click() { OrvexGDI1->ZoomAll(); }
void TForm1::ZoomHalf1Click() { OrvexGDI1->ZoomHalf(); }
void TForm1::ZoomDouble1Click() { OrvexGDI1->ZoomDouble(); }

void TForm1::ZoomWindow1Click()
{
    OrvexGDI1->setCursor(Qt::PointingHandCursor);
    ZoomWindowArmed = true;
}

void TForm1::OrvexGDI1MouseDown(QObject*, Qt::MouseButton, TShiftState, int X, int Y)
{
    if (ZoomWindowArmed)
        RubberBandActive = true;
    if (RubberBandActive) {
        ZoomWindowArmed = false;
        BandStartX = BandEndX = X;
        BandStartY = BandEndY = Y;
    }
}

void TForm1::OrvexGDI1MouseMove(QObject*, TShiftState, int X, int Y)
{
    if (RubberBandActive) {
        // The control's coordinates, on the window's own surface.
        BandEndX = X;
        BandEndY = Y;
        ZoomBand->ShowOutline(BandStartX, BandStartY, BandEndX, BandEndY);
    }
    if (CheckBox1->isChecked()) {
        const TDPoint p = OrvexGDI1->PixelToCoord(X, Y);
        SetCaption(Label1, FormatFloat(QStringLiteral("X%8.3f Y%8.3f Z%8.3f"), {p.X, p.Y, p.Z}));
    }
}

void TForm1::OrvexGDI1MouseUp(QObject*, Qt::MouseButton, TShiftState, int, int)
{
    OrvexGDI1->unsetCursor();
    if (RubberBandActive) {
        RubberBandActive = false;
        unsetCursor();
        ZoomBand->HideOutline();
        OrvexGDI1->ZoomWindow(BandStartX, BandStartY, BandEndX, BandEndY);
    }
    RefreshViewReadout();
}

void TForm1::OrvexGDI1Zoom(QObject*, double, double, double) { RefreshViewReadout(); }

void TForm1::RefreshViewReadout()
{
    Edit1->setText(FormatFloat(QStringLiteral("%8.3f"), {OrvexGDI1->GetViewSize()}));
    Edit2->setText(FormatFloat(QStringLiteral("%8.3f"), {OrvexGDI1->GetCenterX()}));
    Edit3->setText(FormatFloat(QStringLiteral("%8.3f"), {OrvexGDI1->GetCenterY()}));
}

void TForm1::OrvexGDI1ChangeView(QObject*, TDView)
{
    Edit4->setText(FormatFloat(QStringLiteral("%8.3f"), {OrvexGDI1->GetXRotation()}));
    Edit5->setText(FormatFloat(QStringLiteral("%8.3f"), {OrvexGDI1->GetYRotation()}));
    Edit6->setText(FormatFloat(QStringLiteral("%8.3f"), {OrvexGDI1->GetZRotation()}));
}

// ---------------------------------------------------------------- page Demo6

void TForm1::Button2Click()
{
    const double x = StrToFloat(Edit4->text());
    const double y = StrToFloat(Edit5->text());
    const double z = StrToFloat(Edit6->text());
    OrvexGDI1->RotateView(x, y, z);
}

void TForm1::Button7Click()
{
    const double x = StrToFloat(Edit2->text());
    const double y = StrToFloat(Edit3->text());
    OrvexGDI1->ViewCenter(x, y);
}

void TForm1::Button6Click()
{
    OrvexGDI1->SetViewSize(StrToFloat(Edit1->text()));
    SetCaption(Label20, QString::number(OrvexGDI1->GetLastElement()));
}

// ---------------------------------------------------------------- Draw menu

void TForm1::Point1Click()
{
    if (pointDialog_ != nullptr)
        pointDialog_->exec();
}

void TForm1::Line1Click()
{
    if (lineDialog_ != nullptr)
        lineDialog_->exec();
}

void TForm1::Arc1Click()
{
    if (arcDialog_ != nullptr)
        arcDialog_->exec();
}

} // namespace orvex::demo
