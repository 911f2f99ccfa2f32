// The file dialog: builds its widgets, lists a directory (".txt" files
// first, nothing sorted), follows directory selections with chdir, and
// confirms on the button or on a second selection of the same file.
#include "PickBox.h"

#include <Xm/DialogS.h>
#include <Xm/Form.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/Text.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const size_t kCwdSize = 4095;

// Copies text into the record's name, cutting what does not fit.
void setName(PickBox* box, const char* text)
{
    std::snprintf(box->name, sizeof box->name, "%s", text ? text : "");
}

int hasTxtSuffix(const char* name)
{
    size_t length = std::strlen(name);
    return length > 3 && std::strcmp(name + length - 4, ".txt") == 0;
}

void dropLastItem(PickBox* box)
{
    if (box->lastItem)
        XmStringFree(box->lastItem);
    box->lastItem = nullptr;
}

void appendItem(Widget list, const char* text)
{
    XmString item = XmStringCreateLocalized(const_cast<char*>(text));
    XmListAddItemUnselected(list, item, 0);
    XmStringFree(item);
}

// One pass over the directory. The first pass lists the subdirectories and
// the ".txt" files, the second the other regular files, so that each group
// keeps the directory's own order.
void listPass(PickBox* box, const char* path, int firstPass)
{
    DIR* dir = opendir(path);
    if (!dir)
        return;
    while (struct dirent* entry = readdir(dir)) {
        struct stat info;
        if (fstatat(dirfd(dir), entry->d_name, &info, 0) != 0)
            continue;
        int txt = hasTxtSuffix(entry->d_name);
        if (S_ISREG(info.st_mode) && txt == firstPass)
            appendItem(box->fileList, entry->d_name);
        else if (firstPass && S_ISDIR(info.st_mode) && std::strcmp(entry->d_name, ".") != 0)
            appendItem(box->dirList, entry->d_name);
    }
    closedir(dir);
}

// The item's text, to be released with XtFree; null when it has none.
char* itemText(XtPointer call)
{
    XmListCallbackStruct* data = static_cast<XmListCallbackStruct*>(call);
    if (!data || !data->item)
        return nullptr;
    return static_cast<char*>(
        XmStringUnparse(data->item, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
}

void placeAt(Widget widget, int top, int left, int right, int bottom)
{
    // clang-format off
    XtVaSetValues(widget,
                  XmNtopAttachment, XmATTACH_POSITION,
                  XmNtopPosition, top,
                  XmNleftAttachment, XmATTACH_POSITION,
                  XmNleftPosition, left,
                  XmNrightAttachment, XmATTACH_POSITION,
                  XmNrightPosition, right,
                  XmNbottomAttachment, XmATTACH_POSITION,
                  XmNbottomPosition, bottom,
                  nullptr);
    // clang-format on
}

Widget makeList(Widget form, const char* name, XtCallbackProc select, PickBox* box, int top, int bottom)
{
    Arg args[3];
    int n = 0;
    XtSetArg(args[n], XmNvisibleItemCount, 10), n++;
    XtSetArg(args[n], XmNselectionPolicy, XmSINGLE_SELECT), n++;
    XtSetArg(args[n], XmNhighlightThickness, 0), n++;
    Widget list = XmCreateScrolledList(form, const_cast<char*>(name), args, n);
    XtAddCallback(list, XmNsingleSelectionCallback, select, box);
    placeAt(XtParent(list), top, 3, 97, bottom);
    XtManageChild(list);
    return list;
}

Widget makePathField(Widget form, PickBox* box)
{
    Arg args[3];
    int n = 0;
    XtSetArg(args[n], XmNhighlightThickness, 0), n++;
    XtSetArg(args[n], XmNeditable, box->mode == 1), n++;
    XtSetArg(args[n], XmNcursorPositionVisible, box->mode == 1), n++;
    Widget text = XmCreateScrolledText(form, const_cast<char*>(box->mode ? "savefile" : "openfile"), args, n);
    placeAt(XtParent(text), 2, 3, 97, 16);
    XtManageChild(text);
    return text;
}

void makeButton(Widget form, const char* name, XtPointer client, int left, int right)
{
    Widget button =
        XtVaCreateManagedWidget(name, xmPushButtonWidgetClass, form, XmNhighlightThickness, 0, nullptr);
    placeAt(button, 92, left, right, 98);
    XtAddCallback(button, XmNactivateCallback, execfunc, client);
}

// A dialog that was taken down is never shown again: it goes away after its
// popdown, so repeated Open and SaveAs do not pile up hidden dialogs. The
// destruction waits for a timer, since the popdown comes from inside the
// toolkit's own handling of the dialog's widgets.
void destroyShell(XtPointer shell, XtIntervalId*) { XtDestroyWidget(static_cast<Widget>(shell)); }

void destroyOnPopdown(Widget shell, XtPointer, XtPointer)
{
    XtAppAddTimeOut(XtWidgetToApplicationContext(shell), 0, destroyShell, shell);
}

}

void PickBox::fdfunc(Widget, XtPointer client, XtPointer)
{
    PickBox* box = static_cast<PickBox*>(client);
    if (!box)
        return;
    box->name[0] = '\0';
    const char* title = box->mode ? "SaveAs" : "Open";
    // clang-format off
    box->shell = XtVaCreatePopupShell(title, xmDialogShellWidgetClass, box->parent,
                                      XmNtitle, title,
                                      XmNminWidth, 300,
                                      XmNminHeight, 350,
                                      XmNmaxHeight, 350,
                                      nullptr);
    // clang-format on
    XtAddCallback(box->shell, XmNpopdownCallback, destroyOnPopdown, nullptr);
    dropLastItem(box);
    // clang-format off
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, box->shell,
                                   XmNwidth, 300,
                                   XmNheight, 350,
                                   XmNfractionBase, 100,
                                   nullptr);
    // clang-format on
    box->text = makePathField(form, box);
    box->dirList = makeList(form, "listdir", dirselectfunc, box, 20, 50);
    box->fileList = makeList(form, "listfile", fileselectfunc, box, 52, 90);
    makeButton(form, box->mode ? "Save" : "Open", box, 3, 47);
    makeButton(form, "Cancel", nullptr, 53, 97);
    XtManageChild(form);
    char cwd[kCwdSize];
    if (getcwd(cwd, sizeof cwd))
        updateFileDialog(box, cwd);
}

void updateFileDialog(PickBox* box, char* directory)
{
    std::string path = std::string(directory) + "/";
    XmTextSetString(box->text, const_cast<char*>(path.c_str()));
    box->name[0] = '\0';
    dropLastItem(box);
    DIR* probe = opendir(path.c_str());
    if (!probe)
        return;
    closedir(probe);
    XmListDeleteAllItems(box->dirList);
    XmListDeleteAllItems(box->fileList);
    listPass(box, path.c_str(), 1);
    listPass(box, path.c_str(), 0);
}

void dirselectfunc(Widget, XtPointer client, XtPointer call)
{
    PickBox* box = static_cast<PickBox*>(client);
    char* text = itemText(call);
    if (!box || !text)
        return;
    char cwd[kCwdSize];
    if (getcwd(cwd, sizeof cwd)) {
        std::string target = std::string(cwd) + "/" + text;
        if (chdir(target.c_str()) == 0 && getcwd(cwd, sizeof cwd))
            updateFileDialog(box, cwd);
    }
    XtFree(text);
}

void fileselectfunc(Widget, XtPointer client, XtPointer call)
{
    PickBox* box = static_cast<PickBox*>(client);
    char* text = itemText(call);
    if (!box || !text)
        return;
    setName(box, text);
    char cwd[kCwdSize];
    if (getcwd(cwd, sizeof cwd)) {
        std::string path = std::string(cwd) + "/" + text;
        XmTextSetString(box->text, const_cast<char*>(path.c_str()));
    }
    XtFree(text);
    XmString item = static_cast<XmListCallbackStruct*>(call)->item;
    if (box->lastItem && XmStringCompare(box->lastItem, item)) {
        dropLastItem(box);
        execfunc(nullptr, box, nullptr);
        XtUnmanageChild(XtParent(XtParent(box->fileList)));
        return;
    }
    dropLastItem(box);
    box->lastItem = XmStringCopy(item);
}

void execfunc(Widget, XtPointer client, XtPointer)
{
    PickBox* box = static_cast<PickBox*>(client);
    if (!box || !box->callback)
        return;
    if (box->mode == 1) {
        char* text = XmTextGetString(box->text);
        if (text) {
            setName(box, text);
            XtFree(text);
        }
    }
    box->callback(box->name, box->mode);
}
