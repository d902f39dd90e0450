// The demonstration program's main window "Orvex Demo": the drawing control
// OrvexGDI1 with the File, View and Draw menus, the six demonstration pages
// and the common read-outs beside it. The window only calls the components
// and shows what they report.
#pragma once

#include <OrvexGDI/QOrvexGDI.h>
#include <OrvexGDI/TangroGDI.h>

#include <QMainWindow>

class QAction;
class QCheckBox;
class QColorDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace orvex::demo {

class TFileDialog;
class TZoomBandOverlay;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* Parent = nullptr);
    ~TForm1() override;

    /// The entry dialogs of the Draw menu, shown modally by its items.
    void SetEntryDialogs(QDialog* Point, QDialog* Line, QDialog* Arc);

    // ---- components (named as the design names them)
    TOrvexGDI* OrvexGDI1;
    TOrvexGDI* OrvexGDI2;
    TTangroGDI* TangroGDI1;
    QTabWidget* PageControl1;
    TFileDialog* OpenDialog1;
    TFileDialog* SaveDialog1;
    QColorDialog* ColorDialog1;

    // Common read-outs
    QGroupBox* GroupBox8;
    QPushButton* Button1;
    QLabel* Label19;
    QLabel* Label20;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox1;
    QLabel* Label1;
    QPushButton* BitBtn1;

    // Demo1: picking
    QPushButton* Button3;
    QCheckBox *CheckBox5, *CheckBox2, *CheckBox3, *CheckBox4;
    QLabel *Label17, *Label13, *Label14, *Label15, *Label16, *Label34, *Label35;
    // Demo2: group rotation
    QLineEdit *Edit7, *Edit8, *Edit9, *Edit10;
    QCheckBox *CheckBox6, *CheckBox9;
    // Demo3: group shift
    QLineEdit *Edit12, *Edit13, *Edit14;
    QCheckBox* CheckBox7;
    // Demo4: origin and extents
    QLineEdit *Edit11, *Edit15, *Edit16;
    QLabel *Label33, *Label36;
    // Demo6: view rotation, centre and size
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6;

    // Menu items with a state
    QAction* Axis1;

    // ---- the File, View and Draw menus
    void LoadCADClick();
    void MergeCAD1Click();
    void SaveCADClick();
    void SaveBMP1Click();
    void SaveGIF1Click();
    void SaveJPEG1Click();
    void PrintCad1Click();
    void PrintBitmap1Click();
    void Metafile1Click();
    void Bitmap1Click();
    void TopView1Click();
    void FrontView1Click();
    void SideView1Click();
    void ISOView1Click();
    void BackgroundColor1Click();
    void ZoomAll1Click();
    void ZoomHalf1Click();
    void ZoomDouble1Click();
    void ZoomWindow1Click();
    void Redraw1Click();
    void Axis1Click();
    void Point1Click();
    void Line1Click();
    void Arc1Click();
    void CurrentColor1Click();

    // ---- common read-outs and page Demo6
    void CheckBox8Click();
    void Button2Click();
    void Button7Click();
    void Button6Click();

    // ---- pages Demo1 to Demo5
    void Button3Click();
    void Button4Click();
    void Button8Click();
    void Button5Click();
    void Button11Click();
    void Button14Click();
    void Button15Click();
    void Button12Click();
    void Button16Click();
    void Button18Click();
    void CheckBox9Click();
    void Button13Click();
    void Button17Click();

    // ---- events of OrvexGDI1
    void OrvexGDI1MouseDown(QObject* Sender, Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void OrvexGDI1MouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
    void OrvexGDI1MouseUp(QObject* Sender, Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void OrvexGDI1Pick(QObject* Sender, int ElementNumber, TDPoint NearEnd, TDPoint FarEnd, TDPoint Mid,
                       TDPoint Closest);
    void OrvexGDI1Zoom(QObject* Sender, double Size, double CenterX, double CenterY);
    void OrvexGDI1ChangeView(QObject* Sender, TDView NewView);

    // ---- host-side zoom window
    /// "Zoom Window" was chosen and waits for the next press on OrvexGDI1.
    bool ZoomWindowArmed = false;
    /// A zoom-window outline is being dragged.
    bool RubberBandActive = false;
    /// The press that started the outline and the moving corner, in
    /// OrvexGDI1's client pixels.
    int BandStartX = 0, BandStartY = 0;
    int BandEndX = 0, BandEndY = 0;
    /// The outline's surface above the window's controls.
    TZoomBandOverlay* ZoomBand;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    // Window layout — OrvexGDIDemoUnit1.cpp and OrvexGDIDemoPages.cpp
    /// A drawing control with the demonstration's start properties.
    TOrvexGDI* create_drawing_control(QWidget* Parent, const char* Name, const QRect& Geometry);
    /// A button at (Left, Top) in Parent whose click runs Handler as a command.
    QPushButton* add_command_button(void (TForm1::*Handler)(), QWidget* Parent, const char* Name,
                                    const QString& Caption, int Left, int Top, int Width = 0);
    void create_menus();
    void create_common_readouts(QWidget* Client);
    void create_page_demo1(QWidget* Page);
    void create_page_demo2(QWidget* Page);
    void create_page_demo3(QWidget* Page);
    void create_page_demo4(QWidget* Page);
    void create_page_demo5(QWidget* Page);
    void create_page_demo6(QWidget* Page);
    void connect_control_events();

    /// Runs OpenDialog1 for a drawing to read into Target: on a choice sets
    /// Target's CadType from the extension and returns the full name; on
    /// cancel returns an empty name and changes nothing.
    QString ChooseDrawingFile(TOrvexGDI& Target);
    /// Loads or merges the file into Target and zooms to all; an error naming
    /// the file when it gave no element.
    void ReadDrawingFile(TOrvexGDI& Target, const QString& FileName, bool Merge);
    /// Runs SaveDialog1 for a picture of the given kind (1 BMP, 2 GIF, 3 JPEG).
    QString ChoosePictureFile(int FilterIndex, const QString& DefaultExt);
    /// Lets the user choose the printer; false when cancelled.
    bool ChoosePrinter();
    /// Edit1, Edit2, Edit3 := view size and centre of OrvexGDI1.
    void RefreshViewReadout();
    /// The pick filter the three "Pick Filter" boxes select.
    TDFilter PickFilterFromBoxes() const;
    /// Runs ColorDialog1; true with the chosen colour as a framework colour value.
    bool ChooseColor(TColor& Colour);

    QDialog* pointDialog_ = nullptr;
    QDialog* lineDialog_ = nullptr;
    QDialog* arcDialog_ = nullptr;
    bool centred_ = false;
};

} // namespace orvex::demo
