#pragma once

#include <QApplication>

#include "CaretRestQt.h"
#include "SerialLogQt.h"

// The application object: runs the main configuration window modally and ends
// when it closes.
class CConfigApp : public QApplication {
    Q_OBJECT
public:
    CConfigApp(int& argc, char** argv);
    ~CConfigApp() override;
    bool InitInstance();

private:
    CSerialLogSink m_serialLog;
    CCaretRest m_caretRest;
};
