#include "ui/wx/book_dlg.h"

#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace valmero {

namespace {

wxRadioBox* NewRadioBox(wxWindow* parent, const char* label, std::initializer_list<const char*> items, int selected) {
  wxArrayString names;
  for (const char* item : items) names.Add(item);
  auto* box = new wxRadioBox(parent, wxID_ANY, label, wxDefaultPosition, wxDefaultSize, names, 1, wxRA_SPECIFY_COLS);
  box->SetSelection(selected);
  return box;
}

std::string TextOf(const wxTextCtrl* control) { return control->GetValue().utf8_string(); }

}  // namespace

CBookChoicesDlg::CBookChoicesDlg(wxWindow* parent, const BookChoices& choices)
    : wxDialog(parent, wxID_ANY, "Song book") {
  m_pTitle = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(choices.title));
  m_pFooter = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(choices.footer));
  m_pFooter->SetHint("printed at the foot of every page");
  m_pCodePage = new wxChoice(this, wxID_ANY);
  for (const BookCodePage& page : choices.codePages) m_pCodePage->Append(wxString::FromUTF8(page.label));
  m_pCodePage->SetSelection(static_cast<int>(choices.codePage));
  m_pTitle->SetMinSize(FromDIP(wxSize(300, -1)));

  auto* fields = new wxFlexGridSizer(2, FromDIP(wxSize(8, 6)));
  fields->AddGrowableCol(1);
  auto addField = [&](const char* label, wxWindow* control) {
    fields->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(control, 1, wxEXPAND);
  };
  addField("&Title:", m_pTitle);
  addField("&Venue line:", m_pFooter);
  addField("&Code page:", m_pCodePage);

  auto* boxes = new wxBoxSizer(wxHORIZONTAL);
  if (choices.pdfOffered) {
    m_pFormat = NewRadioBox(this, "Format", {"&HTML page", "&PDF document"}, choices.pdf ? 1 : 0);
    boxes->Add(m_pFormat, 1, wxEXPAND | wxRIGHT, FromDIP(8));
  }
  m_pPaper = NewRadioBox(this, "Paper", {"&A4", "&Letter"}, choices.paper == PaperSize::Letter ? 1 : 0);
  m_pFontSize = NewRadioBox(this, "Print size", {"&Small", "&Medium", "La&rge"}, static_cast<int>(choices.fontSize));
  boxes->Add(m_pPaper, 1, wxEXPAND | wxRIGHT, FromDIP(8));
  boxes->Add(m_pFontSize, 1, wxEXPAND);

  auto* layout = new wxBoxSizer(wxVERTICAL);
  layout->Add(fields, 0, wxEXPAND | wxALL, FromDIP(10));
  layout->Add(boxes, 0, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));
  wxSizer* buttons = CreateStdDialogButtonSizer(wxOK | wxCANCEL);
  FindWindow(wxID_OK)->SetLabel(wxString::FromUTF8("&Make book\xE2\x80\xA6"));
  layout->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));
  SetSizerAndFit(layout);
  CentreOnParent();
}

void CBookChoicesDlg::ReadChoices(BookChoices& choices) const {
  choices.title = TextOf(m_pTitle);
  choices.footer = TextOf(m_pFooter);
  if (m_pCodePage->GetSelection() >= 0) choices.codePage = static_cast<std::size_t>(m_pCodePage->GetSelection());
  choices.pdf = m_pFormat != nullptr && m_pFormat->GetSelection() == 1;
  choices.paper = m_pPaper->GetSelection() == 1 ? PaperSize::Letter : PaperSize::A4;
  choices.fontSize = static_cast<FontSize>(m_pFontSize->GetSelection());
}

BookWrittenAnswer ShowBookWrittenOver(wxWindow* owner, const std::string& text) {
  wxMessageDialog box(owner, wxString::FromUTF8(text), "Song book", wxYES_NO | wxCANCEL | wxICON_INFORMATION);
  box.SetYesNoCancelLabels("&Open the book", "Open the &folder", "&Close");
  switch (box.ShowModal()) {
    case wxID_YES: return BookWrittenAnswer::OpenBook;
    case wxID_NO: return BookWrittenAnswer::OpenFolder;
    default: return BookWrittenAnswer::Close;
  }
}

}  // namespace valmero
