#include "platform/Ending.h"

#include <QApplication>

namespace gr {

void QuitEnding::Finish() {
    if (BeforeQuit) BeforeQuit();
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

} // namespace gr
