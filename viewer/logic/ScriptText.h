// The editor's script to and from its file: carriage returns and NUL bytes
// dropped on load, a final newline on save, and a save that is whole or
// leaves the file as it was.
#ifndef ZEM_SCRIPTTEXT_H
#define ZEM_SCRIPTTEXT_H

#include <string>

// The file's text as the editor shows it; false when it cannot be read.
bool loadScript(const std::string& path, std::string& text);

// The editor's text as a save writes it: with a final newline.
std::string savedForm(const std::string& text);

// Saves the editor's text; false, with the message line's text, when the
// file could not be written whole (it then keeps its old bytes).
bool saveScript(const std::string& path, const std::string& text, std::string& message);

// The part of a path after its last "/", as the script-name field shows a
// saved script.
std::string baseName(const std::string& path);

#endif
