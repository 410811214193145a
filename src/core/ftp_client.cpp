// The FTP client Pelto prints with. Line I/O is a
// ladder: SendCommand -> GetLine (bounded; a closed connection fails at once) -> GetReply
// (whole RFC 959 replies) -> ReplyTo (the reply to the last command sent).
#include "ftp_client.h"

#include <optional>

#include "errors.h"
#include "net/file.h"
#include "net/socket.h"

namespace pelto {

namespace {

constexpr std::size_t kMaxLine = 4096;   // one reply line; RFC 959 sets no limit, we must
constexpr std::size_t kMaxReply = 65536; // one whole (multi-line) reply
constexpr int kSettleMs = 10000;         // replies still due, when TimeOut sets no limit

const char* const kClosedByPrinter = "ﾌﾟﾘﾝﾀが接続を切断しました";

struct Reply {
    int code = 0;
    std::string text; // every line, joined by CR LF
};

// RFC 959 4.2: a reply begins with three digits; the first line of a multi-line reply has
// "-" after them.
std::optional<int> ReplyCode(const std::string& line)
{
    if (line.size() < 3) return std::nullopt;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9') return std::nullopt;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

bool IsMultiLineStart(const std::string& line) { return line.size() > 3 && line[3] == '-'; }

// "PORT h1,h2,h3,h4,p1,p2" (RFC 959 4.1.2).
std::string PortLine(const net::Endpoint& e)
{
    std::string line = "PORT ";
    for (std::uint8_t b : e.Address.Bytes) line += std::to_string(b) + ",";
    return line + std::to_string(e.Port >> 8) + "," + std::to_string(e.Port & 0xFF);
}

} // namespace

struct TNMFTP::Impl {
    explicit Impl(TNMFTP& owner) : Owner(owner) {}

    TNMFTP& Owner;
    net::Network Net;
    net::Socket Control;
    bool Connected = false;
    std::string In;            // received on the control connection, not yet read as lines
    int Owed = 0;              // completion replies still due for the commands sent
    bool StorPending = false;  // the last command was STOR: 1yz replies precede its completion
    net::Ipv4 LocalAddress;    // ours on the control connection: PORT's address, the listener's
    net::Ipv4 PrinterAddress;  // the peer: the only one whose data connection we accept
    std::string LoginHost, LoginUser;
    int LoginPort = 0;

    // Where Abort acts: setting up the data connection, or sending the file's bytes.
    enum class Stage { Idle, Setup, Transfer };
    Stage Phase = Stage::Idle;
    bool AbortRequested = false;

    const net::AfterMessages After = [this] { Checkpoint(); };

    // After the window messages of a wait: the window closed, or Abort was called.
    void Checkpoint()
    {
        if (Owner.Quitting && Owner.Quitting()) throw EAbortError("ｳｨﾝﾄﾞｳが閉じられました");
        if (!AbortRequested) return;
        AbortRequested = false;
        if (Phase == Stage::Transfer) throw EAbortError("送信を中止しました");
        throw ESockError("データ接続の準備中に中止しました");
    }

    // The control connection ends here; OnDisconnect tells the window.
    void CloseControl()
    {
        if (!Connected) return;
        Connected = false;
        Control.Close();
        In.clear();
        Owed = 0;
        StorPending = false;
        if (Owner.OnDisconnect) Owner.OnDisconnect();
    }

    // The conversation can't go on (closed, broken or not FTP): close it and fail at once.
    [[noreturn]] void Lost(const std::string& why)
    {
        CloseControl();
        throw ESockError(why);
    }

    // Appends what the connection holds now; false when nothing came before the deadline.
    bool Fill(const net::Deadline& deadline)
    {
        char buffer[4096];
        for (;;) {
            std::optional<std::size_t> n;
            try {
                n = Control.Receive(buffer, sizeof buffer);
            } catch (const ESockError& e) {
                Lost(e.what());
            }
            if (n) {
                if (*n == 0) Lost(kClosedByPrinter);
                In.append(buffer, *n);
                return true;
            }
            if (Net.Wait(Control, net::Want::Read, deadline, After) == net::Woke::TimedOut) return false;
        }
    }

    // One line without its CR LF.
    std::string GetLine(const net::Deadline& deadline)
    {
        for (;;) {
            const std::size_t end = In.find('\n');
            if (end != std::string::npos) {
                if (end > kMaxLine) Lost("ﾌﾟﾘﾝﾀの応答の行が長すぎます");
                std::string line = In.substr(0, end);
                In.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            if (In.size() > kMaxLine) Lost("ﾌﾟﾘﾝﾀの応答の行が長すぎます");
            if (!Fill(deadline)) Lost("ﾌﾟﾘﾝﾀの応答がありません");
        }
    }

    // One whole reply. RFC 959 4.2: a multi-line reply ends at the line that begins with the
    // same code and a blank; the lines between may be anything, indented or not.
    Reply GetReply(const net::Deadline& deadline = std::nullopt)
    {
        Reply reply;
        reply.text = GetLine(deadline);
        const std::optional<int> code = ReplyCode(reply.text);
        if (!code) Lost("ﾌﾟﾘﾝﾀの応答が FTP の応答ではありません: " + reply.text.substr(0, 80));
        reply.code = *code;
        ReadRestOfReply(reply.text, deadline);
        if (!(StorPending && reply.code < 200)) { // a 1yz reply to STOR leaves its completion due
            if (Owed > 0) --Owed;
            StorPending = false;
        }
        return reply;
    }

    // After a reply's first line: the lines of a multi-line reply up to the one that begins
    // with the same code and a blank, joined to text by CR LF.
    void ReadRestOfReply(std::string& text, const net::Deadline& deadline)
    {
        if (!ReplyCode(text) || !IsMultiLineStart(text)) return;
        const std::string last = text.substr(0, 3) + " ";
        for (;;) {
            const std::string line = GetLine(deadline);
            text += "\r\n" + line;
            if (text.size() > kMaxReply) Lost("ﾌﾟﾘﾝﾀの応答が長すぎます");
            if (line.compare(0, 4, last) == 0) return;
        }
    }

    // The reply to the last command sent (older ones still due are read first).
    Reply ReplyTo()
    {
        while (Owed > 1) GetReply();
        return GetReply();
    }

    // Text the printer sent unasked: dropped line by line; a multi-line reply that has begun
    // is read to its end, so that its rest can't pass for the next reply.
    void DropUnasked(const net::Deadline& deadline)
    {
        std::string text = GetLine(deadline);
        ReadRestOfReply(text, deadline);
    }

    // Whatever has arrived by now, without waiting; a closed connection is closed here too.
    void ReadAvailable()
    {
        char buffer[4096];
        while (Connected && In.size() <= kMaxReply) {
            std::optional<std::size_t> n;
            try {
                n = Control.Receive(buffer, sizeof buffer);
            } catch (const ESockError&) {
                CloseControl();
                return;
            }
            if (!n) return;
            if (*n == 0) {
                CloseControl();
                return;
            }
            In.append(buffer, *n);
        }
    }

    // Before TYPE, each PORT and QUIT: replies still due from an interrupted exchange are
    // awaited (within a limit), then text sent unasked is dropped. May leave us disconnected.
    void Settle()
    {
        if (!Connected) return;
        const net::Deadline limit = net::DeadlineAfter(Owner.TimeOut > 0 ? Owner.TimeOut : kSettleMs);
        while (Connected && Owed > 0) GetReply(limit);
        ReadAvailable();
        while (Connected && !In.empty()) DropUnasked(limit);
    }

    void SendCommand(const std::string& command)
    {
        // A line break inside would smuggle in a second command.
        if (command.find_first_of("\r\n") != std::string::npos) throw Exception("改行を含む名前は送れません");
        const std::string line = command + "\r\n";
        std::size_t sent = 0;
        try {
            while (sent < line.size()) {
                std::optional<std::size_t> n;
                try {
                    n = Control.Send(line.data() + sent, line.size() - sent);
                } catch (const ESockError& e) {
                    Lost(e.what());
                }
                if (n) sent += *n;
                else Net.Wait(Control, net::Want::Write, std::nullopt, After);
            }
        } catch (...) {
            if (sent > 0) CloseControl(); // half a command: the conversation is out of step
            throw;
        }
        ++Owed;
        StorPending = command.compare(0, 5, "STOR ") == 0;
    }

    [[noreturn]] void Refused(const Reply& reply) { throw FTPException(reply.text); }

    // A PORT or STOR reply that took longer than TimeOut fails once it has come.
    void CheckLate(Clock::time_point asked) const
    {
        if (Owner.TimeOut > 0 && Clock::now() - asked > Milliseconds(Owner.TimeOut))
            throw ESockError("ﾌﾟﾘﾝﾀの応答が時間切れです");
    }

    void Connect()
    {
        CloseControl();
        if (Owner.TimeOut < 0) throw Exception("TimeOut が負の値です");
        if (Owner.Port < 1 || Owner.Port > 65535)
            throw ESockError("ポート番号 " + std::to_string(Owner.Port) + " には接続できません");
        const net::Ipv4 address = Net.Resolve(Owner.Host, net::DeadlineAfter(Owner.TimeOut), After);
        const net::Endpoint to{address, static_cast<std::uint16_t>(Owner.Port)};
        Control = Net.Connect(to, net::DeadlineAfter(Owner.TimeOut), After);
        Connected = true;
        In.clear();
        Owed = 1; // the greeting
        StorPending = false;
        LocalAddress = Control.Local().Address;
        PrinterAddress = Control.Peer().Address;
        LoginHost = Owner.Host;
        LoginPort = Owner.Port;
        LoginUser = Owner.UserID;
        try {
            GetReply(); // the greeting, whatever it says
            SendCommand("USER " + Owner.UserID);
            Reply reply = ReplyTo();
            if (reply.code == 331) {
                SendCommand("PASS " + Owner.Password);
                reply = ReplyTo();
            }
            if (reply.code >= 401 && reply.code <= 599) {
                SendNowOrNever("QUIT");
                CloseControl();
                Refused(reply);
            }
        } catch (...) {
            CloseControl(); // never left connected but not logged in
            throw;
        }
        if (Owner.OnConnect) Owner.OnConnect();
    }

    // A last word that nobody waits for: sent if it fits at once, else dropped.
    void SendNowOrNever(const std::string& command)
    {
        const std::string line = command + "\r\n";
        try {
            Control.Send(line.data(), line.size());
        } catch (const ESockError&) {
        }
    }

    void RequireConnection()
    {
        if (!Connected) throw Exception("Not Connected");
    }

    void Mode(int type)
    {
        RequireConnection();
        if (type != 1 && type != 2) throw Exception("Mode " + std::to_string(type) + " はありません");
        Settle();
        if (!Connected) throw ESockError(kClosedByPrinter);
        SendCommand(type == 1 ? "TYPE A" : "TYPE I");
        const Reply reply = ReplyTo();
        if (reply.code >= 400 && reply.code <= 599) Refused(reply);
    }

    // Accepts the printer's data connection; a caller from any other address is turned away
    // (RFC 2577 s.4, "port stealing") and the wait goes on.
    net::Socket AcceptFromPrinter(net::Socket& listener)
    {
        for (;;) {
            std::optional<net::Socket> data = listener.Accept();
            if (!data) {
                Net.Wait(listener, net::Want::Read, std::nullopt, After);
                continue;
            }
            if (data->Peer().Address == PrinterAddress) return std::move(*data);
            data->Close();
        }
    }

    void Upload(const std::string& localPath, const std::string& remoteName)
    {
        RequireConnection();
        net::File file = net::File::OpenForReading(localPath);
        Settle();
        if (!Connected) throw ESockError(kClosedByPrinter);

        struct PhaseScope {
            Impl& impl;
            explicit PhaseScope(Impl& i) : impl(i)
            {
                impl.Phase = Stage::Setup;
                impl.AbortRequested = false;
            }
            ~PhaseScope()
            {
                impl.Phase = Stage::Idle;
                impl.AbortRequested = false;
            }
        } phase(*this);

        net::Socket listener = Net.Listen(LocalAddress);
        Clock::time_point asked = Clock::now();
        SendCommand(PortLine({LocalAddress, listener.Local().Port}));
        Reply reply = ReplyTo();
        CheckLate(asked);
        if (reply.code >= 301 && reply.code <= 599) Refused(reply);

        asked = Clock::now();
        SendCommand("STOR " + remoteName);
        reply = ReplyTo();
        CheckLate(asked);
        if (reply.code >= 301 && reply.code <= 599) Refused(reply);

        net::Socket data = AcceptFromPrinter(listener);
        listener.Close();
        Phase = Stage::Transfer;
        try {
            Net.SendFile(data, file, Owner.OnDataSent, After);
        } catch (...) {
            data.Reset(); // a cut file must not look whole to the printer
            throw;
        }
        Phase = Stage::Idle;
        data.Close();
        if (Owed > 0) {
            // 4yz/5yz after the data means the printer did not take the file: that is a
            // failure, never "sent".
            reply = ReplyTo();
            if (reply.code >= 400 && reply.code <= 599) Refused(reply);
        }
    }

    void Disconnect()
    {
        if (!Connected) return;
        Settle();
        if (!Connected) return;
        SendCommand("QUIT");
        const Reply reply = ReplyTo();
        CloseControl();
        if (reply.code >= 301 && reply.code <= 599) Refused(reply);
    }

    void Close()
    {
        if (!Connected) return;
        SendNowOrNever("QUIT");
        CloseControl();
    }

    bool CheckKept()
    {
        try {
            Settle();
        } catch (const EAbortError&) {
            throw;
        } catch (const ESockError&) {
            // closed by Lost: a fresh login follows
        }
        return Connected;
    }
};

TNMFTP::TNMFTP() : impl_(std::make_unique<Impl>(*this)) {}

TNMFTP::~TNMFTP() = default;

bool TNMFTP::Connected() const { return impl_->Connected; }
void TNMFTP::Connect() { impl_->Connect(); }
void TNMFTP::Mode(int type) { impl_->Mode(type); }
void TNMFTP::Upload(const std::string& localPath, const std::string& remoteName) { impl_->Upload(localPath, remoteName); }
void TNMFTP::Disconnect() { impl_->Disconnect(); }

void TNMFTP::Abort()
{
    // Anywhere but in an upload it has no effect and is not remembered.
    if (impl_->Phase != Impl::Stage::Idle) impl_->AbortRequested = true;
}

bool TNMFTP::IsConnectedTo(const std::string& host, int port, const std::string& user) const
{
    return impl_->Connected && impl_->LoginHost == host && impl_->LoginPort == port && impl_->LoginUser == user;
}

void TNMFTP::Close() { impl_->Close(); }
bool TNMFTP::CheckKept() { return impl_->CheckKept(); }

} // namespace pelto
