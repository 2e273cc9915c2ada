#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CRegistryStore;

// The rules of one mask in the folder dialog's include and exclude lists, and of the date
// rules' count lists: what the dialogs decide that needs no window.

// A mask without "." names the files of that extension: "txt" becomes "*.txt".
std::string NormalMask(const std::string& mask);

// The text after a mask's first ".", or the whole mask when it has none: "*.*" gives "*",
// "a.tar.gz" gives "tar.gz".
std::string MaskExtension(const std::string& mask);

// A mask holding one of \ / : " < > | names a path or a list, never a file name.
bool HasForbiddenMaskCharacter(const std::string& mask);

// Whether `mask` equals, without regard to letter case, one of `rows` other than the row
// `skipRow` (-1: none); masks are compared within one list only.
bool IsDuplicateMask(const std::vector<std::string>& rows, const std::string& mask, int skipRow);

// The masks of a list as its stored mask list text, joined by " | "; empty for no masks.
std::string JoinMasks(const std::vector<std::string>& masks);

// The Description column of a mask: "All files" for "*.*", otherwise the class registered
// for its extension under `classesRoot` ("." + extension names the class, whose default
// value describes it), or the extension in upper case + " File" ("s" when it holds a
// wildcard). The registry is only read.
std::string MaskDescription(const CRegistryStore& store, const std::string& mask,
                            const std::string& classesRoot = "HKEY_CLASSES_ROOT");

// The items a date rule's count list offers, as texts: days 2 to 7, weeks 1 to 4, months 1
// to 36; none for the other kinds.
std::vector<std::string> CountItems(int32_t kind);

// The item a stored count selects: the one whose text is the count, else the first.
int CountItemIndex(const std::vector<std::string>& items, int32_t count);
