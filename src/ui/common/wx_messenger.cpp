#include "common/wx_messenger.h"

#include <wx/msgdlg.h>

#include "common/ui_texts.h"
#include "common/wx_invoke.h"
#include "common/wx_text.h"

namespace pinsum::ui {
namespace {

long IconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return wxICON_ERROR;
    case MessageIcon::Information:
        return wxICON_INFORMATION;
    case MessageIcon::Question:
        return wxICON_QUESTION;
    case MessageIcon::Exclamation:
        return wxICON_EXCLAMATION;
    }
    return wxICON_INFORMATION;
}

long ButtonStyle(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return wxOK;
    case MessageButtons::OkCancel:
        return wxOK | wxCANCEL;
    case MessageButtons::YesNo:
        return wxYES_NO;
    }
    return wxOK;
}

MessageAnswer Answer(int code) {
    switch (code) {
    case wxID_YES:
        return MessageAnswer::Yes;
    case wxID_NO:
        return MessageAnswer::No;
    case wxID_CANCEL:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer WxMessenger::Show(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    const wxString message = FromModel(text);
    return CallOnUiAndWait([this, &message, icon, buttons] {
        if (m_silent)
            return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
                   : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                      : MessageAnswer::Cancel;
        wxMessageDialog box(m_parent.get(), message, Text(UiText::HostCaption),
                            IconStyle(icon) | ButtonStyle(buttons));
        box.SetOKCancelLabels(Text(UiText::ButtonOk), Text(UiText::ButtonCancel));
        box.SetYesNoLabels(wxString::FromUTF8("Ano"), wxString::FromUTF8("Ne"));
        return Answer(box.ShowModal());
    });
}

} // namespace pinsum::ui
