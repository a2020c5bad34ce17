#include "PreviewList.h"


std::optional<ViewerKind> ViewerKindOf(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        ViewerKind kind;
    } kNames[] = {
        {L"Textdatei", ViewerKind::Text},   {L"Bilddatei", ViewerKind::Picture}, {L"Symboldatei", ViewerKind::Icon},
        {L"Sounddatei", ViewerKind::Sound}, {L"Filmdatei", ViewerKind::Film},    {L"Compressed", ViewerKind::Archive},
    };
    for (const auto& entry : kNames)
        if (name == entry.name)
            return entry.kind;
    return std::nullopt;
}

std::optional<ViewerKind> FindViewer(const std::vector<PreviewEntry>& entries, const std::wstring& ext)
{
    if (ext.empty())
        return std::nullopt;
    for (const PreviewEntry& entry : entries)
        if (entry.extensions.find(ext) != std::wstring::npos)
            return ViewerKindOf(entry.name);
    return std::nullopt;
}
