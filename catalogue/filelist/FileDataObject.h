#pragma once
// Files handed to other programs through the clipboard or by dragging: a data object that holds
// formats of its own (the file list CF_HDROP, "Preferred DropEffect", what a drop target sets)
// and passes every other request on to the shell's data object of the files, when there is one;
// and the drop source of a drag out of the file list.

#include "../../common/UniqueHandle.h"

#include <windows.h>

#include <ole2.h>

#include <string>
#include <vector>

// shellData: the shell's data object of the files (null when they lie in several folders: the
// files are then given as CF_HDROP with their paths). The object starts with one reference.
IDataObject* NewFileDataObject(IDataObject* shellData, const std::vector<std::wstring>& paths);

// Tells the program receiving the files whether they are to be copied or moved
// (DROPEFFECT_COPY or DROPEFFECT_MOVE), as Explorer's copy and cut do.
HRESULT SetPreferredDropEffect(IDataObject& data, DWORD effect);

// Drags the files with the left mouse button until it is released or Esc pressed; the effect
// done, or DROPEFFECT_NONE.
DWORD DragFiles(IDataObject& data, DWORD allowedEffects);
