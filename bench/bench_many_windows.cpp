// bench_many_windows N [PREFIX]: shows N small titled X windows (titles
// "PREFIX 0" ... "PREFIX N-1", PREFIX "Bench Window" unless given), prints
// "ready" once they are mapped, and keeps them until its input closes or
// it is killed. Lighter than N programs, so the benchmark times the search.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string prefix = argc > 2 ? argv[2] : "Bench Window";
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::cerr << "bench_many_windows: no X display\n";
        return 1;
    }
    const Atom name = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom pid = XInternAtom(d, "_NET_WM_PID", False);
    const long self = static_cast<long>(::getpid());
    for (int i = 0; i < count; ++i) {
        const Window w =
            XCreateSimpleWindow(d, DefaultRootWindow(d), (i % 20) * 30, (i / 20) * 30, 24, 24, 0, 0, 0);
        const std::string title = prefix + " " + std::to_string(i);
        XStoreName(d, w, title.c_str());
        XChangeProperty(d, w, name, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
        XChangeProperty(d, w, pid, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&self), 1);
        XMapWindow(d, w);
    }
    XSync(d, False);
    std::cout << "ready" << std::endl;
    char c;
    while (::read(0, &c, 1) > 0) {}
    XCloseDisplay(d);
    return 0;
}
