#pragma once

#include <QApplication>

// The application object: runs the main configuration window modally and ends
// when it closes.
class CConfigApp : public QApplication {
    Q_OBJECT
public:
    CConfigApp(int& argc, char** argv);
    bool InitInstance();
};
