// libFuzzer target: the receive side of the serial link.
//
// Every input drives a byte queue with a run of pushes, runs, pops and resets,
// side by side with a plain model of it: the queue never holds more than 4095
// bytes, its count is always the model's, it hands out exactly the bytes the
// model does (oldest first, a full queue drops the new ones, an empty one
// gives 0 and stays empty).
//
// One input in thirty-two also goes through the real receive path: the program's
// port, on a pipe instead of a device, with its receive thread. The input is
// cut into chunks with gaps of 0 to 40 ms between them; after the line has
// been quiet for longer than the receive path's silence everything is
// fetched. What fits the queues must come out whole and in order; of more,
// only bytes of the input, in order, each once; neither queue ever holds more
// than 4095 bytes.

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "FuzzRequire.h"
#include "serial/ByteQueue.h"
#include "serial/ReceivePath.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortBackend.h"

namespace {


// --- The queue beside its model --------------------------------------------------

void DriveQueue(const std::uint8_t* data, std::size_t size) {
    static CByteQueue queue;  // 8 KB: kept between inputs, emptied first
    queue.Init();
    std::deque<std::uint8_t> model;
    std::uint8_t next = 0;  // bytes pushed count up, so a loss or a repeat shows
    std::vector<std::uint8_t> run;

    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t op = data[i];
        const std::size_t amount = (i + 1 < size) ? data[++i] * 17U : 0;  // 0 to 4335
        switch (op % 5) {
            case 0:
                queue.Push(next);
                if (model.size() < CByteQueue::kMaxBytes) model.push_back(next);
                ++next;
                break;
            case 1: {
                run.resize(amount);
                for (std::uint8_t& byte : run) byte = next++;
                queue.PushRun(run.data(), static_cast<std::uint16_t>(run.size()));
                const std::size_t room = CByteQueue::kMaxBytes - model.size();
                model.insert(model.end(), run.begin(), run.begin() + static_cast<std::ptrdiff_t>(std::min(room, run.size())));
                break;
            }
            case 2:
                for (std::size_t k = 0; k < amount; ++k) {
                    const std::uint8_t byte = queue.Pop();
                    if (model.empty()) {
                        Require(byte == 0);
                    } else {
                        Require(byte == model.front());
                        model.pop_front();
                    }
                }
                break;
            case 3:
                queue.Init();
                model.clear();
                break;
            default:
                break;
        }
        Require(queue.Count() == model.size());
        Require(queue.Count() <= CByteQueue::kMaxBytes);
    }
}

// --- The receive path on a pipe -----------------------------------------------------

// The port's device: a pipe whose far end the target writes. Requests go nowhere.
class CPipeBackend final : public CSerialPortBackend {
public:
    ~CPipeBackend() override { Close(); }
    bool Open(const std::string&, const CLineSettings&) override {
        Close();
        int ends[2];
        if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return false;
        m_read = ends[0];
        m_write = ends[1];
        return true;
    }
    void Close() override {
        if (m_read >= 0) ::close(m_read);
        if (m_write >= 0) ::close(m_write);
        m_read = m_write = -1;
    }
    bool IsOpen() const override { return m_read >= 0; }
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t maxBytes) override {
        const ssize_t n = ::read(m_read, buffer, maxBytes);
        return n > 0 ? static_cast<std::uint32_t>(n) : 0;
    }
    bool Write(const std::uint8_t*, std::uint32_t) override { return true; }
    bool Drain() override { return true; }
    int InputDescriptor() const override { return m_read; }
    void MarkHungUp() override {}

    int Line() const { return m_write; }
    std::size_t Unread() const {
        int waiting = 0;
        return ::ioctl(m_read, FIONREAD, &waiting) == 0 ? static_cast<std::size_t>(waiting) : 0;
    }

private:
    int m_read = -1;
    int m_write = -1;
};

CPipeBackend* g_pipe = nullptr;  // the backend of g_serialPort, the one port built

struct CLiveLink {
    CLiveLink() {
        g_serialPort.SetParams(1, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, 9600);
        Require(g_serialPort.Open());
        g_portOpen.store(true);
        receive.Start(g_serialPort, g_portOpen);
    }
    CReceivePath receive;
};

bool IsSubsequence(const std::vector<std::uint8_t>& part, const std::vector<std::uint8_t>& whole) {
    std::size_t at = 0;
    for (const std::uint8_t byte : part) {
        while (at < whole.size() && whole[at] != byte) ++at;
        if (at == whole.size()) return false;
        ++at;
    }
    return true;
}

void DriveReceivePath(const std::uint8_t* data, std::size_t size) {
    static CLiveLink live;
    using namespace std::chrono_literals;
    constexpr std::array<std::chrono::milliseconds, 4> kGaps{0ms, 1ms, 5ms, 40ms};
    auto slept = 0ms;

    std::vector<std::uint8_t> sent;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t head = data[i++];
        const std::size_t length = std::min<std::size_t>(1 + (head >> 2), size - i);
        if (length > 0) {
            Require(::write(g_pipe->Line(), data + i, length) == static_cast<ssize_t>(length));
            sent.insert(sent.end(), data + i, data + i + length);
            i += length;
        }
        Require(live.receive.m_rxQueue.Count() <= CByteQueue::kMaxBytes);
        Require(live.receive.m_replyQueue.Count() <= CByteQueue::kMaxBytes);
        const auto gap = kGaps[head & 3];
        if (gap > 0ms && slept < 200ms) {
            std::this_thread::sleep_for(gap);
            slept += gap;
        }
    }

    // Quiet for longer than the silence, and nothing left unread or uncut.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    std::this_thread::sleep_for(std::chrono::milliseconds(CReceivePath::kSilencePolls + 10));
    for (int quietLooks = 0; quietLooks < 2;) {
        Require(std::chrono::steady_clock::now() < deadline);  // the thread has stopped cutting replies
        const bool quiet = g_pipe->Unread() == 0 && live.receive.m_rxQueue.Count() == 0;
        quietLooks = quiet ? quietLooks + 1 : 0;
        std::this_thread::sleep_for(quiet ? 2ms : 10ms);
    }

    std::vector<std::uint8_t> fetched;
    std::array<std::uint8_t, 1024> buffer{};
    for (std::uint16_t count; (count = live.receive.FetchReply(buffer.data(), buffer.size())) > 0;) {
        Require(count <= buffer.size());
        fetched.insert(fetched.end(), buffer.begin(), buffer.begin() + count);
    }
    Require(fetched.size() <= CByteQueue::kMaxBytes);
    if (sent.size() <= CByteQueue::kMaxBytes) {
        Require(fetched == sent);
    } else {
        Require(IsSubsequence(fetched, sent));
    }
}

}  // namespace

std::unique_ptr<CSerialPortBackend> CreatePlatformSerialBackend(IPortEventSink&) {
    auto backend = std::make_unique<CPipeBackend>();
    if (g_pipe == nullptr) g_pipe = backend.get();
    return backend;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    DriveQueue(data + 1, size - 1);
    if (data[0] % 32 == 0) DriveReceivePath(data + 1, size - 1);
    return 0;
}
