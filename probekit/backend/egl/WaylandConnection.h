// The EGL backend's own connection to the Wayland compositor that WAYLAND_DISPLAY names.
#pragma once

#include <cstdint>
#include <memory>

struct wl_compositor;
struct wl_display;
struct wl_egl_window;
struct wl_registry;
struct wl_surface;

namespace GLPlatform::EGL {

class WaylandConnection {
public:
    // Takes a connection to the compositor (the display rule's, or a new one from Open); null when
    // there is none or the compositor offers no surfaces.
    static std::unique_ptr<WaylandConnection> Adopt(wl_display* display);
    static std::unique_ptr<WaylandConnection> Open();

    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;
    ~WaylandConnection();

    wl_display* display() const { return mDisplay; }
    // True once the connection has failed: a protocol error, or a compositor that went away.
    bool failed() const;
    // Reads what the compositor sent, without waiting, so that a compositor that went away since
    // shows; false when the connection has failed.
    bool alive();

    // A surface that is never given a role, so never shown, with an EGL window of that size on
    // it; false, and nothing made, on failure.
    bool createWindow(int width, int height, wl_surface*& surface, wl_egl_window*& window);
    void destroyWindow(wl_surface* surface, wl_egl_window* window);

private:
    explicit WaylandConnection(wl_display* display) : mDisplay(display) {}
    static void Announce(void* data, wl_registry* registry, uint32_t name, const char* interface,
                         uint32_t version);

    wl_display* mDisplay;
    wl_registry* mRegistry = nullptr;
    wl_compositor* mCompositor = nullptr;
};

}  // namespace GLPlatform::EGL
