// The find dialog and the search behind it.
#include "notes/FindDialog.h"

#include <algorithm>

#include "core/Appearance.h"
#include "framework/SystemLibraries.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"

NoteSearch::NoteSearch(std::vector<core::DatedNote> datedNotes) : notes(std::move(datedNotes))
{
    // Newest first, as the list shows them.
    std::reverse(notes.begin(), notes.end());
    foldedTexts.reserve(notes.size());
    for (const core::DatedNote& note : notes)
        foldedTexts.push_back(Folded(fw::Widen(note.text)));
}

std::wstring NoteSearch::Folded(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    // The first call gives an estimate of the decomposed length, the second the length itself.
    const int estimate = NormalizeString(NormalizationD, text.c_str(), length, nullptr, 0);
    std::wstring decomposed(static_cast<std::size_t>(std::max(0, estimate)), L'\0');
    const int decomposedLength = NormalizeString(NormalizationD, text.c_str(), length, decomposed.data(),
                                                 static_cast<int>(decomposed.size()));
    if (decomposedLength > 0)
        decomposed.resize(static_cast<std::size_t>(decomposedLength));
    else
        decomposed = text;
    std::vector<WORD> kinds(decomposed.size());
    GetStringTypeW(CT_CTYPE3, decomposed.c_str(), static_cast<int>(decomposed.size()), kinds.data());
    std::wstring bare;
    bare.reserve(decomposed.size());
    for (std::size_t i = 0; i < decomposed.size(); ++i)
        if (!(kinds[i] & C3_NONSPACING))
            bare += decomposed[i];
    std::wstring lower(bare.size(), L'\0');
    const int lowerLength = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, bare.c_str(),
                                          static_cast<int>(bare.size()), lower.data(), static_cast<int>(lower.size()),
                                          nullptr, nullptr, 0);
    lower.resize(static_cast<std::size_t>(std::max(0, lowerLength)));
    return lower;
}

std::vector<std::size_t> NoteSearch::Find(const std::wstring& text) const
{
    const std::wstring wanted = Folded(text);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < foldedTexts.size(); ++i)
        if (foldedTexts[i].find(wanted) != std::wstring::npos)
            found.push_back(i);
    return found;
}

const fw::MessageTable<FindDialog> FindDialog::messageTable = {
    fw::OnNotify<IDC_FIND_RESULTS, LVN_GETDISPINFOW, &FindDialog::OnGetDisplayInfo>(),
    fw::OnNotify<IDC_FIND_RESULTS, NM_DBLCLK, &FindDialog::OnDoubleClick>(),
    fw::OnControlCommand<IDC_FIND_TEXT, EN_CHANGE, &FindDialog::OnSearchChanged>(),
    fw::ChainBase<fw::CDialog, FindDialog>(),
};

FindDialog::FindDialog(HWND parentWindow, const NoteSearch& notes) : MessageTarget(IDD_FIND, parentWindow), search(notes) {}

void FindDialog::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Control(IDC_FIND_TEXT, searchEdit);
    exchange.Control(IDC_FIND_RESULTS, resultList);
}

BOOL FindDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    resultList.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const RECT list = resultList.ClientRect();
    const int dateWidth = core::Scaled(80, fw::DpiOfWindow(handle));
    const wchar_t* titles[] = {L"Date", L"Note"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.pszText = const_cast<wchar_t*>(titles[column]);
        header.cx = column == 0 ? dateWidth : list.right - dateWidth - GetSystemMetrics(SM_CXVSCROLL);
        resultList.Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }
    Refilter();
    // TRUE: the focus goes to the search text, the first tab stop.
    return TRUE;
}

fw::Result FindDialog::OnSearchChanged()
{
    Refilter();
    return fw::Done();
}

void FindDialog::Refilter()
{
    shown = search.Find(fw::Widen(searchEdit.Text()));
    resultList.Send(LVM_SETITEMCOUNT, shown.size(), 0);
    // A selection would point at another note now: the next Enter takes the first row.
    LVITEMW unselected{};
    unselected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    resultList.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&unselected));
    InvalidateRect(resultList.Handle(), nullptr, TRUE);
}

// The list holds no texts of its own: each cell is made when it is shown.
fw::Result FindDialog::OnGetDisplayInfo(NMHDR& header)
{
    auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
    const auto row = static_cast<std::size_t>(info.item.iItem);
    if (!(info.item.mask & LVIF_TEXT) || row >= shown.size())
        return fw::Done();
    const core::DatedNote& note = search.Note(shown[row]);
    if (info.item.iSubItem == 0) {
        SYSTEMTIME date{};
        date.wYear = static_cast<WORD>(note.date.year);
        date.wMonth = static_cast<WORD>(note.date.month);
        date.wDay = static_cast<WORD>(note.date.day);
        wchar_t text[64] = L"";
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, 64, nullptr);
        cellText = text;
    } else {
        cellText = fw::Widen(note.text.substr(0, note.text.find_first_of("\r\n")));
    }
    info.item.pszText = cellText.data();
    return fw::Done();
}

fw::Result FindDialog::OnDoubleClick(NMHDR&)
{
    OnOK();
    return fw::Done();
}

// The selected note, or the first one when none is selected; nothing happens while the list
// is empty.
void FindDialog::OnOK()
{
    if (shown.empty())
        return;
    const LRESULT selected = resultList.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    const std::size_t row = selected >= 0 ? static_cast<std::size_t>(selected) : 0;
    picked = search.Note(shown[row]).date;
    CDialog::OnOK();
}
