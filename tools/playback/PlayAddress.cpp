// Plays one address through TWMPlayer until it fails or the given seconds
// pass, printing each state code with the time since start.
//   orvane_play ADDRESS [SECONDS] [AUDIO-OUTPUT]

#include "playback/WMPlayerU.h"
#include "platform/WMPControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvane_play ADDRESS [SECONDS] [AUDIO-OUTPUT]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
    TWMPEngineOptions options = WMPControl::DefaultOptions();
    if (argc > 3)
        options.AudioOutput = argv[3];
    WMPControl::SetDefaultOptions(options);

    QWidget panel;
    TWMPlayer player(&panel);
    if (!player.IsReady()) {
        std::fprintf(stderr, "no media engine\n");
        return 1;
    }
    player.SetOnStateChange([&](TPlayer *, int code) {
        std::printf("%lld ms: state %d\n", static_cast<long long>(clock.elapsed()), code);
        std::fflush(stdout);
        if (code == psFailed || code == psMediaEnded)
            app.exit(code == psFailed ? 1 : 0);
    });
    player.SetUrl(argv[1]);
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, &app, [&app] { app.exit(0); });
    return app.exec();
}
