#include "ConfigAppQt.h"

#include "ui/main/ConfigDlg.h"
#include "serial/SerialPort.h"
#include "widgets/qt/AppFonts.h"

CConfigApp::CConfigApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Message boxes shown without a caption carry the program's name.
    setApplicationName(QStringLiteral("Sentrabus"));
    // The desktop entry the package installs, so that a desktop shows its icon.
    setDesktopFileName(QStringLiteral("org.sentrabus.Sentrabus"));
    InstallDialogFontSubstitutions();
    g_serialPort.SetEventSink(&m_serialLog);
}

CConfigApp::~CConfigApp() {
    g_serialPort.SetEventSink(nullptr);
}

bool CConfigApp::InitInstance() {
    CConfigDlg dlg;
    dlg.DoModal();
    // False: the application ends when its one window closes.
    return false;
}
