// A local run uses the text being edited, under the script's own name: the
// user's file steps aside while the run lasts and comes back afterwards.
#ifndef ZEM_SCRIPTASIDE_H
#define ZEM_SCRIPTASIDE_H

#include <string>

class ScriptAside {
public:
    // Puts script (the editor's text, given the final newline a save gives
    // it) under path. The user's file goes to "<path>_", or to a name of its
    // own when a "<path>_" of the user's is there. A file that already holds
    // exactly that text is left in place. False, with the message line's
    // text, when this cannot be done safely: the disk is then as it was.
    bool put(const std::string& path, const std::string& script, std::string& message);
    // Brings the user's file back (or removes the run's copy of a script
    // that was not on disk). False, with a message naming where the user's
    // file is, when it stays aside.
    bool restore(std::string& message);

private:
    enum State { kUntouched, kMoved, kCreated };
    bool moveAside(std::string& message);
    bool writeScript(const std::string& script, std::string& message);

    State m_State = kUntouched;
    std::string m_Path;
    std::string m_Aside;
};

#endif
