// The wxWidgets forms of the song book's two windows: the small dialog of
// its settings, and the message that says where the book went. Their rules
// are the dialog controller's (ui/common/book_choices.h).
#pragma once

#include <wx/dialog.h>

#include <string>

#include "ui/common/book_choices.h"

class wxChoice;
class wxRadioBox;
class wxTextCtrl;

namespace valmero {

class CBookChoicesDlg : public wxDialog {
 public:
  CBookChoicesDlg(wxWindow* parent, const BookChoices& choices);

  // What the controls show now.
  void ReadChoices(BookChoices& choices) const;

  wxTextCtrl* m_pTitle = nullptr;
  wxTextCtrl* m_pFooter = nullptr;
  wxChoice* m_pCodePage = nullptr;
  wxRadioBox* m_pFormat = nullptr;  // none where the build writes HTML only
  wxRadioBox* m_pPaper = nullptr;
  wxRadioBox* m_pFontSize = nullptr;
};

// The message with its three buttons: open the book, open its folder, close.
BookWrittenAnswer ShowBookWrittenOver(wxWindow* owner, const std::string& text);

}  // namespace valmero
