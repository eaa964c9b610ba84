// The Linux desktop's default URL handler and its event-sound player behind
// the seams of DesktopSeams.h. Sounds go through libcanberra; where no audio
// output exists (a headless machine) playing fails quietly with one log line
// under sentrabus.sound.

#include "widgets/DesktopSeams.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

#if defined(SENTRABUS_HAVE_CANBERRA)
#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#endif

Q_LOGGING_CATEGORY(lcSound, "sentrabus.sound")

namespace {

// Said once: a machine without sound says so on every play otherwise.
void ReportSoundFailure(const char* what) {
    static bool reported = false;
    if (reported) {
        qCDebug(lcSound, "cannot play a sound: %s", what);
        return;
    }
    reported = true;
    qCInfo(lcSound, "cannot play a sound: %s", what);
}

#if defined(SENTRABUS_HAVE_CANBERRA)
// One event-sound context for the program, made on first use.
class CCanberra {
public:
    static CCanberra& Instance() {
        static CCanberra instance;
        return instance;
    }
    ~CCanberra() {
        if (m_context) ca_context_destroy(m_context);
    }

    void Play(const SoundRequest& request) {
        if (!m_context) {
            ReportSoundFailure("no sound context");
            return;
        }
        const bool async = (request.flags & kSndAsync) != 0;
        ca_proplist* properties = nullptr;
        ca_proplist_create(&properties);
        ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, request.path.c_str());
        Waiter waiter;
        const int result = ca_context_play_full(m_context, 0, properties, async ? nullptr : &Waiter::Done,
                                                async ? nullptr : &waiter);
        ca_proplist_destroy(properties);
        if (result != CA_SUCCESS) {
            ReportSoundFailure(ca_strerror(result));
            return;
        }
        if (!async) waiter.Wait();
    }

private:
    struct Waiter {
        std::mutex lock;
        std::condition_variable done;
        bool finished = false;
        static void Done(ca_context*, std::uint32_t, int, void* self) {
            auto* waiter = static_cast<Waiter*>(self);
            std::lock_guard guard(waiter->lock);
            waiter->finished = true;
            waiter->done.notify_all();
        }
        // A sound that never reports its end does not hold the window for long.
        void Wait() {
            std::unique_lock guard(lock);
            done.wait_for(guard, std::chrono::seconds(10), [this] { return finished; });
        }
    };

    CCanberra() {
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            return;
        }
        const int opened = ca_context_open(m_context);
        if (opened != CA_SUCCESS) {
            ReportSoundFailure(ca_strerror(opened));
            ca_context_destroy(m_context);
            m_context = nullptr;
        }
    }
    ca_context* m_context = nullptr;
};
#endif

}  // namespace

bool DesktopOpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

void DesktopPlaySound(const SoundRequest& request) {
#if defined(SENTRABUS_HAVE_CANBERRA)
    CCanberra::Instance().Play(request);
#else
    ReportSoundFailure("this build has no sound player");
#endif
}
