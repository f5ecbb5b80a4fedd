#include "foundation/ui/ErrorReport.h"

#include <QWidget>

int main(int argc, char **argv) {
    qm::QuillmateApplication app(argc, argv);
    QWidget window;
    window.show();
    return app.exec();
}
