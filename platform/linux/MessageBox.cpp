// Modal message boxes: the title is the primary text, the question or
// message the secondary text, transient for the main window.
#include "platform/linux/LinuxMainInternal.h"
#include "zozud/core/Timer.h"

namespace {

int RunMessage(const char* title, const char* text, GtkButtonsType buttons) {
    zozud::cPause::SetSystemPause(true);
    GtkWidget* parent = cLinuxMain_GetWindow();
    GtkWidget* dialog = gtk_message_dialog_new(parent ? GTK_WINDOW(parent) : nullptr,
                                               GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                               GTK_MESSAGE_INFO, buttons, "%s", title ? title : "");
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", text ? text : "");
    gtk_window_set_title(GTK_WINDOW(dialog), title ? title : "");
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    cLinuxMain_RepeatedClear();
    return response;
}

}  // namespace

void cMessageBox::Ok(const char* title, const char* text) { RunMessage(title, text, GTK_BUTTONS_OK); }

bool cMessageBox::YesNo(const char* title, const char* text) {
    return RunMessage(title, text, GTK_BUTTONS_YES_NO) == GTK_RESPONSE_YES;
}
