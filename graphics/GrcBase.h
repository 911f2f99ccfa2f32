// Graphic command stream: the abstract command and the process-wide list
// of recorded commands, with its chunked text encoding and its replay.
#ifndef ZEM_GRCBASE_H
#define ZEM_GRCBASE_H

// One recorded drawing command. The list owns its commands; a command is
// never copied, since its m_Next and any owned array would be shared.
class GrcBase {
public:
    GrcBase() = default;
    GrcBase(const GrcBase&) = delete;
    GrcBase& operator=(const GrcBase&) = delete;

    virtual ~GrcBase() = 0;
    // Writes the whole command at cursor and advances it, returning 1, or
    // returns 0 and writes nothing when fewer bytes than the command's
    // length remain before end.
    virtual int encode(char*& cursor, char* end) = 0;
    // Reads the command (cursor at its two code characters) and advances
    // past it, returning 1, or returns 0 when the bytes before end do not
    // hold a well-formed command of this class.
    virtual int decode(char*& cursor, char* end) = 0;
    // Replays the command; defined by exactly one of PlotSink and PlotFeed.
    virtual void exec() = 0;

    GrcBase* m_Next = nullptr;

    // The two-digit code that opens each encoded command, one per class.
    enum Code { CodeColor = 1, CodePoint, CodeLine, CodeRect, CodeArc, CodePoly, CodeText };
    // Bytes of one encoded chunk; the buffer has one more for a terminator.
    enum { ChunkSize = 501 };

    // Drawing calls are recorded only while m_Exec is not 0.
    static GrcBase* m_Start;
    static GrcBase* m_Last;
    static int m_Exec;
    static char m_BuffHead[ChunkSize + 1];
    static char* m_BuffEnd;

    static void appendList(GrcBase* command);
    static void clearList();
    // Encodes whole commands from cursor into m_BuffHead; returns the byte
    // count (0..ChunkSize) and leaves cursor at the first command not written.
    // Returns 0 for a null cursor or a command that can never fit.
    static int encodeList(GrcBase*& cursor);
    // Decodes the first count bytes of m_BuffHead and appends the commands;
    // returns the bytes consumed. Stops at an unknown code or a short or
    // malformed command.
    static int decodeList(int count);
    // Clears the picture to light grey, sets black, replays every command.
    static void execList();
};

#endif
