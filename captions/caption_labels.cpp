#include "captions/caption_labels.h"

#include "app/controls.h"
#include "ui/caption_label.h"
#include "ui/colour_picker.h"

#include <climits>
#include <cwchar>

namespace {

// Each caption follows its own row of editing controls.
struct CaptionRow {
    const wchar_t* caption;
    const wchar_t* edit;
    const wchar_t* picker;
    const wchar_t* spin;
};

constexpr CaptionRow kRows[] = {
    {L"透明标签1", L"编辑框1", L"颜色选择器1", L"调节器1"},
    {L"透明标签2", L"编辑框2", L"颜色选择器2", L"调节器2"},
};

bool Named(const wchar_t* a, const wchar_t* b) {
    return a && b && std::wcscmp(a, b) == 0;
}

// The row whose member (edit box, colour picker or spin control) raised the event.
template <typename Member> const CaptionRow* RowOf(const ControlEvent& event, Member member) {
    for (const CaptionRow& row : kRows)
        if (Named(event.control, row.*member))
            return &row;
    return nullptr;
}

} // namespace

void SetCaptionText(const ControlEvent& event) {
    if (const CaptionRow* row = RowOf(event, &CaptionRow::edit))
        SetCaptionLabelText(ControlHandle(row->caption), EditContent(row->edit));
}

void SetCaptionColour(const ControlEvent& event) {
    if (const CaptionRow* row = RowOf(event, &CaptionRow::picker))
        SetCaptionLabelColour(ControlHandle(row->caption),
                              ColourPickerColour(ControlHandle(row->picker)));
}

void StepCaptionFontSize(const ControlEvent& event) {
    const CaptionRow* row = RowOf(event, &CaptionRow::spin);
    if (!row)
        return;
    HWND caption = ControlHandle(row->caption);
    int size = CaptionLabelFontSize(caption);
    if (event.argument == 1)
        size = size < INT_MAX ? size + 1 : size;
    else
        size = size > INT_MIN ? size - 1 : size;
    SetCaptionLabelFontSize(caption, size);
}

void SetCaptionsBold(const ControlEvent&) {
    bool bold = ControlChecked(L"选择框1");
    SetCaptionLabelBold(ControlHandle(L"透明标签1"), bold);
    SetCaptionLabelBold(ControlHandle(L"透明标签2"), bold);
}

void RouteCaptionEvents(const ControlEvent&) {
    RouteEvents(L"透明标签2", L"透明标签1");
    for (const wchar_t* handle : {L"左中", L"左下", L"中中", L"中下", L"右上", L"右中", L"右下"})
        RouteEvents(handle, L"左上");
}
