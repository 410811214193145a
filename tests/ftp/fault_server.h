// A scriptable FTP printer on 127.0.0.1 for the faults real servers don't do on demand. It
// runs on a thread of its own, takes one control connection at a time, records every command
// line it gets, and answers from a script: canned replies, delays, hang-ups, and what happens
// on each data connection.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pelto::test {

// What the printer does on one command, by its verb ("USER", "PASS", "TYPE", "PORT", ...).
struct Answer {
    std::string reply = {}; // sent as it is (the row writes the CR LF); "" keeps the default
    int delayMs = 0;     // the printer takes this long to answer
    bool hangUp = false; // it closes the control connection after the reply
    bool moment = false; // before replying: OnMoment, then the reply waits for Resume
    int nth = 0;         // 0: every time; n: only the n-th time the verb comes (else the default)
};

enum class DataPlan {
    Normal,        // connects (after a 1yz STOR reply), reads to the end, sends the final reply
    Never,         // never connects; OnMoment once the STOR reply is out
    StrangerFirst, // first connects from 127.0.0.2 and waits until that is closed, then Normal
    DropMidway,    // reads 64 KiB, then resets the data connection and replies 426
    PauseMidway,   // reads 64 KiB, OnMoment, waits for Resume, then reads to the end
};

struct DataStep {
    DataPlan plan = DataPlan::Normal;
    bool hangUp = false; // closes the control connection after this upload's final reply
};

struct Script {
    std::string greeting = "220 Pelto fault printer ready\r\n";
    std::map<std::string, Answer> answers = {};
    std::vector<DataStep> data = {};                 // by upload, the last one repeats; none: Normal
    std::string finalReply = "226 Transfer complete\r\n";
};

// One data connection as the printer saw it.
struct Received {
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t hash = 0; // FNV-1a of the bytes
    std::string ending;     // "eof" (closed orderly), "reset" (abortive), "dropped" (by us)
};

class FaultServer {
public:
    explicit FaultServer(Script script);
    ~FaultServer();
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    std::uint16_t Port() const { return port_; }

    // Runs on the server's thread at the script's moments; set before the job starts.
    std::function<void()> OnMoment;
    void Resume();

    // Sleeps until no control connection is open (generous failsafe); false if one still is.
    bool WaitIdle();
    // What the printer got; call once the client has closed its connections (waits for it).
    std::vector<std::string> Transcript();
    std::vector<Received> Uploads();
    bool StrangerTurnedAway();

private:
    void Run();
    void Session(int fd);
    bool DataPhase(int control, const std::string& name);
    void Moment(bool waitForResume);
    bool ReadLine(int fd, std::string& buffer, std::string& line);
    void Record(const std::string& entry);
    void Nap(int ms);

    Script script_;
    int listener_ = -1;
    int stop_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::mutex lock_;
    std::condition_variable changed_;
    bool stopping_ = false, resumed_ = false, open_ = false, strangerTurnedAway_ = false;
    std::vector<std::string> transcript_;
    std::vector<Received> uploads_;
    std::size_t uploadCount_ = 0;
    std::map<std::string, int> verbCount_;
    std::string dataHost_;
    std::uint16_t dataPort_ = 0;
    std::thread thread_;
};

} // namespace pelto::test
