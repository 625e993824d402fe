// What start-up cannot do without: GTK, the GLX work of the two probes (a multisample context on
// an unmapped window, twice, on a connection of its own) and the program's own window, from its
// interface file, mapped.
#include <GL/gl.h>
#include <GL/glx.h>
#include <gtk/gtk.h>

namespace {

bool ProbeOnce(Display* display) {
    const int attributes[] = {GLX_DRAWABLE_TYPE,
                              GLX_WINDOW_BIT,
                              GLX_RENDER_TYPE,
                              GLX_RGBA_BIT,
                              GLX_DOUBLEBUFFER,
                              True,
                              GLX_STENCIL_SIZE,
                              8,
                              GLX_SAMPLE_BUFFERS,
                              1,
                              None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    if (configs == nullptr || count == 0) {
        return false;
    }
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, configs[0]);
    const Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    const Window window = XCreateWindow(display, root, 0, 0, 60, 60, 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap, &set);
    const GLXWindow drawable = glXCreateWindow(display, configs[0], window, nullptr);
    GLXContext context = glXCreateNewContext(display, configs[0], GLX_RGBA_TYPE, nullptr, True);
    const bool current = glXMakeContextCurrent(display, drawable, drawable, context) != False;
    const bool answered =
        current && glGetString(GL_RENDERER) != nullptr && glGetString(GL_EXTENSIONS) != nullptr;
    glXMakeContextCurrent(display, None, None, nullptr);
    glXDestroyContext(display, context);
    glXDestroyWindow(display, drawable);
    XDestroyWindow(display, window);
    XFreeColormap(display, set.colormap);
    XFree(visual);
    XFree(configs);
    return answered;
}

}  // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || !ProbeOnce(display) || !ProbeOnce(display)) {
        return 1;
    }
    GtkBuilder* builder = gtk_builder_new_from_resource("/org/readycheck/ReadyCheck/ReadyCheck.ui");
    GtkWidget* window = GTK_WIDGET(gtk_builder_get_object(builder, "oResultWindow"));
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_window_present(GTK_WINDOW(window));
    gtk_main();
    g_object_unref(builder);
    XCloseDisplay(display);
    return 0;
}
