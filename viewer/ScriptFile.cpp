// Load and Save between the editor and the disk (ScriptText does the
// files): a load shows the whole path, a save the name after the last "/",
// and a save that fails says why and leaves the file as it was.
#include "ScriptFile.h"

#include <Xm/Text.h>

#include <string>

#include "ScriptText.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

// The editor is filled in blocks, so that the widget never copies a large
// script twice.
const size_t kBlock = 5000;

void load(const std::string& path)
{
    Widget editor = widgets().intext;
    setTextOf(editor, "");
    std::string text;
    if (!loadScript(path, text))
        return;
    for (size_t at = 0; at < text.size(); at += kBlock) {
        std::string block = text.substr(at, kBlock);
        XmTextInsert(editor, XmTextGetLastPosition(editor), const_cast<char*>(block.c_str()));
    }
    setTextOf(widgets().inname, path);
    XmTextSetInsertionPosition(editor, 0);
    session().scriptEdited();
}

void save(const std::string& path)
{
    char* text = XmTextGetString(widgets().intext);
    if (!text)
        return;
    std::string message;
    if (saveScript(path, text, message))
        setTextOf(widgets().inname, baseName(path));
    else
        setTextOf(widgets().outname, message);
    XtFree(text);
}

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
