// The demonstration program's windows as the program starts them: the main
// window first, then the three entry dialogs (hidden until the Draw menu
// shows them), which draw on the main window's control.
#pragma once

#include "OrvexGDIDemoUnit1.h"
#include "OrvexGDIDemoUnit2.h"
#include "OrvexGDIDemoUnit3.h"
#include "OrvexGDIDemoUnit4.h"

namespace orvex::demo {

struct TDemoWindows {
    TForm1 Form1;
    TForm2 Form2{Form1.OrvexGDI1, &Form1};
    TForm3 Form3{Form1.OrvexGDI1, &Form1};
    TForm4 Form4{Form1.OrvexGDI1, &Form1};

    TDemoWindows() { Form1.SetEntryDialogs(&Form2, &Form3, &Form4); }
};

} // namespace orvex::demo
