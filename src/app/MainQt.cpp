#include "ConfigAppQt.h"

int main(int argc, char** argv) {
    CConfigApp app(argc, argv);
    app.InitInstance();
    return 0;
}
