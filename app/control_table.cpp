#include "app/control_table.h"

#include "app/about_box.h"
#include "app/catalogue_loader.h"
#include "app/template_preview.h"
#include "captions/caption_labels.h"
#include "captions/picture_copy.h"
#include "captions/selection_handles.h"

#include <cwchar>

namespace {

using K = ControlKind;
constexpr LPCWSTR kNoCursor = nullptr;

const MainWindowDesign kMainWindow = {
    L"主窗口",
    L"KaprinoV3.1     By：Lumis      Qq：4812693071",
    519,
    382,
    RGB(0, 255, 255),
    {{On::Created, RouteCaptionEvents},
     {On::LeftPress, HideSelectionHandles},
     {On::KeyPressed, NudgeSelectedCaption}},
};

// clang-format off
const ControlRow kRows[] = {
// name           kind             left top  width height  text          state      handlers                                                          parent      cursor
{L"选择框1",     K::CheckBox,      400, 313,  88,  16,  L"加粗字体",  kNormal,   {{On::Click, SetCaptionsBold}, {}},                               nullptr,    kNoCursor},
{L"按钮5",       K::PushButton,    448, 276,  56,  32,  L"关于",      kNormal,   {{On::Click, ShowAboutBox}, {}},                                  nullptr,    kNoCursor},
{L"调节器2",     K::SpinControl,   320, 301,  40,  32,  L"",          kNormal,   {{On::SpinStep, StepCaptionFontSize}, {}},                        nullptr,    kNoCursor},
{L"调节器1",     K::SpinControl,   320, 267,  40,  32,  L"",          kNormal,   {{On::SpinStep, StepCaptionFontSize}, {}},                        nullptr,    kNoCursor},
{L"按钮4",       K::PushButton,    376, 276,  64,  32,  L"复制图片",  kNormal,   {{On::Click, CopyPictureToClipboard}, {}},                        nullptr,    kNoCursor},
{L"时钟1",       K::Timer,           0,   0,   0,   0,  L"",          kNormal,   {{On::Tick, AdvanceLoadProgress}, {}},                            nullptr,    kNoCursor},
{L"透明标签2",   K::Caption,       232, 217, 200,  24,  L"",          kNormal,   {{}, {}},                                                         nullptr,    IDC_ARROW},
{L"透明标签1",   K::Caption,       472,  64,  28, 128,  L"",          kNormal,   {{On::LeftPress, SelectCaption}, {On::MouseMove, TrackCaptionMouse}}, nullptr, IDC_ARROW},
{L"颜色选择器2", K::ColourPicker,   21, 305,  80,  24,  L"",          kNormal,   {{On::ColourPicked, SetCaptionColour}, {}},                       nullptr,    kNoCursor},
{L"编辑框2",     K::EditBox,       112, 306, 184,  24,  L"",          kNormal,   {{On::Changed, SetCaptionText}, {}},                              nullptr,    kNoCursor},
{L"编辑框1",     K::EditBox,       112, 269, 184,  24,  L"",          kNormal,   {{On::Changed, SetCaptionText}, {}},                              nullptr,    kNoCursor},
{L"按钮3",       K::PushButton,    240,   8,  80,  32,  L"上一页",    kDisabled, {{On::Click, GoToPreviousPage}, {}},                              nullptr,    kNoCursor},
{L"按钮2",       K::PushButton,    432,   8,  80,  32,  L"下一页",    kDisabled, {{On::Click, GoToNextPage}, {}},                                  nullptr,    kNoCursor},
{L"分组框1",     K::GroupBox,      232,  42, 280, 220,  L"",          kNormal,   {{On::LeftPress, HideSelectionHandles}, {}},                      nullptr,    kNoCursor},
{L"图片框1",     K::PictureBox,      0,   0, 280, 220,  L"",          kNormal,   {{On::LeftPress, HideSelectionHandles}, {}},                      L"分组框1", kNoCursor},
{L"颜色选择器1", K::ColourPicker,   22, 270,  80,  24,  L"",          kNormal,   {{On::ColourPicked, SetCaptionColour}, {}},                       nullptr,    kNoCursor},
{L"超级列表框1", K::ListView,        2,   0, 224, 264,  L"",          kNormal,   {{On::Click, LoadTemplatePreview}, {}},                           nullptr,    kNoCursor},
{L"按钮1",       K::PushButton,    336,   8,  80,  32,  L"读取表情",  kNormal,   {{On::Click, StartPageLoad}, {}},                                 nullptr,    kNoCursor},
{L"进度条1",     K::ProgressBar,     0, 337, 512,  16,  L"",          kNormal,   {{}, {}},                                                         nullptr,    kNoCursor},
{L"右下",        K::HandleLabel,    88, 112,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZENWSE},
{L"右中",        K::HandleLabel,    88,  96,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZEWE},
{L"右上",        K::HandleLabel,    88,  80,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZENESW},
{L"中下",        K::HandleLabel,    56, 112,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZENS},
{L"中中",        K::HandleLabel,    56,  80,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZENS},
{L"左下",        K::HandleLabel,    32, 112,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZENESW},
{L"左中",        K::HandleLabel,    32,  96,   8,   8,  L"■",         kHidden,   {{}, {}},                                                         nullptr,    IDC_SIZEWE},
{L"左上",        K::HandleLabel,    32,  80,   8,   8,  L"■",         kHidden,   {{On::LeftPress, ResizeFromHandle}, {}},                          nullptr,    IDC_SIZENWSE},
};
// clang-format on

EventHandler Find(const EventBinding* bindings, std::size_t count, On event) {
    for (std::size_t i = 0; i < count; ++i)
        if (bindings[i].handler && bindings[i].event == event)
            return bindings[i].handler;
    return nullptr;
}

} // namespace

const MainWindowDesign& MainWindowData() {
    return kMainWindow;
}

const ControlRow* ControlRows() {
    return kRows;
}

std::size_t ControlRowCount() {
    return sizeof(kRows) / sizeof(kRows[0]);
}

const ControlRow* FindControlRow(const wchar_t* name) {
    if (!name)
        return nullptr;
    for (const ControlRow& row : kRows)
        if (std::wcscmp(row.name, name) == 0)
            return &row;
    return nullptr;
}

EventHandler HandlerOf(const ControlRow& row, On event) {
    return Find(row.handlers, sizeof(row.handlers) / sizeof(row.handlers[0]), event);
}

EventHandler MainWindowHandler(On event) {
    return Find(kMainWindow.handlers,
                sizeof(kMainWindow.handlers) / sizeof(kMainWindow.handlers[0]), event);
}
