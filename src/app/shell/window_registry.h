#pragma once

namespace kelvor::app {

class TFormMain;
class TFormHelp;
class TFormResponse;
class TFormChk;
class TFormPrinting;
class TFormPSet;
class TFormVGA;
class TFormFreqScales;
class TFormFResults;
class TFormGraphSetUp;
class TFormEdt;
class TFormEdt2;
class TFormSqWMenu;
class TFormPMenu;
class TFormSetup;
class TFormImgProc;
class TFormBode;

// Every window is created once at start and lives for the whole run; the main window fills
// this in, and a window that opens another finds it here. Tests fill in only what they use.
struct Windows {
    TFormMain* main = nullptr;
    TFormHelp* help = nullptr;
    TFormResponse* response = nullptr;
    TFormChk* listing = nullptr;
    TFormPrinting* printing = nullptr;
    TFormPSet* pageSetup = nullptr;
    TFormVGA* graph = nullptr;
    TFormFreqScales* freqScales = nullptr;
    TFormFResults* graphParameters = nullptr;
    TFormGraphSetUp* graphPageSetup = nullptr;
    TFormEdt* textEditor = nullptr;
    TFormEdt2* formEditor = nullptr;
    TFormSqWMenu* squareWave = nullptr;
    TFormPMenu* pulse = nullptr;
    TFormSetup* setup = nullptr;
    TFormImgProc* imageProcessing = nullptr;
    TFormBode* bode = nullptr;
};

} // namespace kelvor::app
