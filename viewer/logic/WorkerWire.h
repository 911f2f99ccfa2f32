// The run worker's wire, in the Numbers ("%07d" and a NUL) and Texts (a
// Number with the length, then the bytes and their NUL) of the remote
// protocol. The request: trace depth, trace root, script path, selector and
// the viewer's working directory, which the file dialog may have changed.
// The reply: the driver's status, the fatal signal whose record the worker
// wrote (0 for none), the result file name, the error line, position and
// text, then the drawing in chunks, each a Number and its bytes, ended by a
// Number 0.
#ifndef ZEM_WORKERWIRE_H
#define ZEM_WORKERWIRE_H

#include <string>

namespace WorkerWire {

std::string number(int value);
std::string text(const std::string& value);
std::string request(int depth, const std::string& root, const std::string& path, const std::string& selector,
                    const std::string& directory);

}

// What the worker reports of one run.
struct WorkerReply {
    int status = 0;
    int signal = 0;
    std::string resultFile;
    int errorLine = 0;
    int errorPos = -1;
    std::string errorText;
};

// Takes a reply in whatever pieces it arrives and decodes its drawing into
// the command list as each chunk completes.
class ReplyReader {
public:
    // 1 once the reply is complete, 0 while bytes are missing, -1 when the
    // bytes are no reply.
    int feed(const char* data, size_t count);
    const WorkerReply& reply() const { return m_Reply; }

private:
    enum Stage { kStatus, kSignal, kResult, kLine, kPos, kError, kChunks, kDone, kBad };
    bool number(int& value);
    bool text(std::string& value);
    bool chunk();
    bool step();

    std::string m_Bytes;
    size_t m_Used = 0;
    Stage m_Stage = kStatus;
    WorkerReply m_Reply;
};

#endif
