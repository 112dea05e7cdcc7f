// The program's own start-up (as setup/main.cpp), with a probe that reports
// when the setup window's first paint and the help window have reached the
// screen, and the peak resident memory then.
#include "Application.h"
#include "Fonts.h"
#include "StartupProbe.h"
#include "template.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    ReportStep("step_app");
    StartupProbe probe({{QStringLiteral("BoardImage1"), QStringLiteral("first_paint")},
                        {QStringLiteral("HelpForm"), QStringLiteral("help_shown")}});
    RegisterDesignFonts();
    ReportStep("step_fonts");
    TMainForm form;
    ReportStep("step_form");
    // The supporter's start routine, timed where it runs.
    if (TApplication::IdleEvent start = app.OnIdle())
        app.SetOnIdle([start](QObject* sender, bool& done) {
            ReportStep("step_idle_begin");
            start(sender, done);
            ReportStep("step_idle_end");
        });
    form.showMaximized();
    ReportStep("step_shown");
    return app.exec();
}
