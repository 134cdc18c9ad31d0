// End-to-end tests watch the real program from outside: no program code runs in here.
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // "Show animations in Windows" lives in the Wine prefix. A run stopped while it was off
    // would leave every later run without figures, so each run starts with it on.
    SystemParametersInfoA(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(TRUE),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    return RUN_ALL_TESTS();
}
