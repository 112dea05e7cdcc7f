#include "Application.h"
#include "Fonts.h"
#include "template.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    RegisterDesignFonts();
    TMainForm form;
    form.showMaximized();
    return app.exec();
}
