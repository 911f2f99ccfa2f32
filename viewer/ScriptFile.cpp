// Loading a script into the editor and saving the editor's text: carriage
// returns are dropped on load, and a saved script always ends with a newline.
#include "Viewer.h"

#include <Xm/Text.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "FileText.h"
#include "ScriptAside.h"

namespace {

// The editor is filled in blocks, so a large script never needs a second
// copy of itself in memory.
const int kBlock = 5000;

void appendBlock(Widget text, char* block, int length)
{
    block[length] = '\0';
    XmTextInsert(text, XmTextGetLastPosition(text), block);
}

// The text widget holds neither carriage returns nor NUL bytes.
void appendFile(Widget text, FILE* file)
{
    char block[kBlock + 1];
    int length = 0;
    int c;
    while ((c = std::getc(file)) != EOF) {
        if (c == '\r' || c == '\0')
            continue;
        block[length++] = static_cast<char>(c);
        if (length == kBlock) {
            appendBlock(text, block, length);
            length = 0;
        }
    }
    if (length > 0)
        appendBlock(text, block, length);
}

void load(char* path)
{
    XmTextSetString(viewer.intext, const_cast<char*>(""));
    FILE* file = std::fopen(path, "r");
    if (!file)
        return;
    appendFile(viewer.intext, file);
    std::fclose(file);
    XmTextSetString(viewer.inname, path);
    XmTextSetInsertionPosition(viewer.intext, 0);
    viewer.scriptChanged = 1;
}

// A save that fails says so and leaves the file as it was.
void save(char* path)
{
    char* text = XmTextGetString(viewer.intext);
    if (!text)
        return;
    if (writeScript(path, text)) {
        char* slash = std::strrchr(path, '/');
        XmTextSetString(viewer.inname, slash ? slash + 1 : path);
    } else {
        std::string message = FileText::failure("not saved:", path);
        XmTextSetString(viewer.outname, const_cast<char*>(message.c_str()));
    }
    XtFree(text);
}

}

int writeScript(const char* path, const char* text)
{
    return FileText::replace(path, savedForm(text)) ? 1 : 0;
}

void loadOrSave(char* path, int mode)
{
    if (!path || !*path)
        return;
    if (mode == 0)
        load(path);
    else
        save(path);
}
