#include "CategoryTree.h"

namespace CategoryTree {

namespace {

const DesignedNode kNodes[] = {
    {0, 0},                                                                 // Sortaro
    {1, 1},  {27, 1},                                                       // archives, screen savers
    {2, 1},  {3, 2},  {4, 2},  {5, 2},  {6, 2},  {7, 2},  {8, 2},  {9, 2},  // clip art ...
    {10, 2}, {11, 2}, {12, 2}, {13, 2}, {14, 2}, {15, 2},                   // ... and its formats
    {16, 1}, {17, 2}, {18, 2},                                              // cursors and icons
    {28, 1}, {21, 1}, {44, 1},                                              // setup, help, HTML
    {35, 1}, {36, 2}, {38, 3}, {37, 3}, {41, 2}, {39, 2},                   // internet
    {22, 1}, {23, 2}, {25, 2}, {24, 2}, {26, 2}, {45, 2},                   // multimedia
    {20, 1}, {34, 1}, {29, 1}, {30, 1}, {31, 1}, {42, 1}, {43, 1}, {46, 1}, // the rest, search last
};

struct EnglishEntry {
    int id;
    const wchar_t* name;
};

const EnglishEntry kEnglish[] = {
    {1, L"Archiv-Files"},      {5, L"CGM (CGM Metafile)"},
    {10, L"Photo-CD"},         {15, L"WMF (Windows-Metafile)"},
    {16, L"Cursor&Symbols"},   {17, L"Cursor"},
    {18, L"Symbols"},          {20, L"Fonts"},
    {21, L"Helpfiles"},        {22, L"Multimedia-Files"},
    {23, L"All media files"},  {24, L"Midi Files"},
    {25, L"Film & Animation"}, {26, L"Wave-Files"},
    {27, L"Screensaver"},      {28, L"Setup-Files"},
    {29, L"Temp Files"},       {30, L"Textfiles"},
    {31, L"0-Byte Files"},     {34, L"Backupfiles"},
    {44, L"HTML-Files"},       {45, L"MP3-Files"},
    {46, L"Search"},
};

} // namespace

const DesignedNode* Nodes()
{
    return kNodes;
}

std::size_t NodeCount()
{
    return sizeof(kNodes) / sizeof(kNodes[0]);
}

const wchar_t* EnglishName(int categoryId)
{
    for (const EnglishEntry& e : kEnglish)
        if (e.id == categoryId)
            return e.name;
    return nullptr;
}

} // namespace CategoryTree
