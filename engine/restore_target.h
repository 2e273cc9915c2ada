#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where one restored file object is written. With no destination, the path the host reports
// for the object (the one it was backed up from). With a destination, the destination
// joined with the file name stored in the object's options, and only when that name is a
// plain file name: the result then always lies directly inside the destination folder.
// nullopt when the object must be passed over: a destination is set and the options are
// missing (`options` nullopt) or hold no usable name.
std::optional<std::string> RestoreTargetFor(const std::string& destination, const std::string& objectName,
                                            const std::optional<std::vector<uint8_t>>& options);

// The file name stored from byte 28 of an object's options, up to its zero byte; nullopt
// when the array is too short, has no zero byte after the name, or the name is not a plain
// file name (IsPlainFileName: empty, ".", "..", holding "\", "/" or ":", or a device).
std::optional<std::string> ReadObjectName(const std::vector<uint8_t>& options);

// Whether `name` names a file inside whatever folder it is joined to: not empty, no "\",
// "/" or ":", not "." or ".." (nor a name Windows trims to one of them, like ".. "), and not
// a DOS device such as "CON" or "lpt1.txt", which Windows opens wherever the folder is.
bool IsPlainFileName(const std::string& name);
