// libmpv, loaded when the first media player starts rather than when the
// player starts: linked directly, it and the codec libraries behind it (some
// two hundred shared objects) made every start several times slower, also
// for the many courses that never show a video. The functions the players
// call are defined here with libmpv's own signatures and forward to the
// loaded library; when it cannot be loaded, mpv_create answers null, which
// the engine reports as a media player that cannot start.

#include <dlfcn.h>
#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/stream_cb.h>

#include <string>

#include "platform/diagnostic_log.h"
#include "platform/shared_library.h"

namespace {

constexpr const char* kLibraryName = "libmpv.so.2";

void* Library() {
  static void* const handle = [] {
    void* loaded = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!loaded) vork::DiagnosticLog(std::string("Cannot load ") + kLibraryName + ": " + dlerror());
    return loaded;
  }();
  return handle;
}

// The library's own entry `name`, of the type of our forwarding function.
template <typename Function>
Function* Entry(const char* name) {
  Function* entry = nullptr;
  vork::FindFunction(Library(), name, entry);
  return entry;
}

}  // namespace

// Each forwarder looks its entry up once. Only mpv_create can run without
// the library; every other call needs a handle that it made.
#define VORK_MPV_FORWARD(result, name, parameters, arguments) \
  extern "C" result name parameters {                       \
    static auto* const entry = Entry<decltype(name)>(#name); \
    return entry arguments;                                  \
  }

extern "C" mpv_handle* mpv_create() {
  static auto* const entry = Entry<decltype(mpv_create)>("mpv_create");
  return entry ? entry() : nullptr;
}

extern "C" const char* mpv_error_string(int error) {
  static auto* const entry = Entry<decltype(mpv_error_string)>("mpv_error_string");
  return entry ? entry(error) : "libmpv is not available";
}

VORK_MPV_FORWARD(int, mpv_initialize, (mpv_handle * ctx), (ctx))
VORK_MPV_FORWARD(void, mpv_terminate_destroy, (mpv_handle * ctx), (ctx))
VORK_MPV_FORWARD(int, mpv_command, (mpv_handle * ctx, const char** args), (ctx, args))
VORK_MPV_FORWARD(int, mpv_set_option_string, (mpv_handle * ctx, const char* name, const char* data),
                 (ctx, name, data))
VORK_MPV_FORWARD(int, mpv_set_property, (mpv_handle * ctx, const char* name, mpv_format format, void* data),
                 (ctx, name, format, data))
VORK_MPV_FORWARD(int, mpv_get_property, (mpv_handle * ctx, const char* name, mpv_format format, void* data),
                 (ctx, name, format, data))
VORK_MPV_FORWARD(int, mpv_observe_property,
                 (mpv_handle * ctx, uint64_t reply_userdata, const char* name, mpv_format format),
                 (ctx, reply_userdata, name, format))
VORK_MPV_FORWARD(mpv_event*, mpv_wait_event, (mpv_handle * ctx, double timeout), (ctx, timeout))
VORK_MPV_FORWARD(void, mpv_set_wakeup_callback, (mpv_handle * ctx, void (*cb)(void*), void* d), (ctx, cb, d))
VORK_MPV_FORWARD(int, mpv_stream_cb_add_ro,
                 (mpv_handle * ctx, const char* protocol, void* user_data, mpv_stream_cb_open_ro_fn open_fn),
                 (ctx, protocol, user_data, open_fn))
VORK_MPV_FORWARD(int, mpv_render_context_create,
                 (mpv_render_context * *res, mpv_handle* mpv, mpv_render_param* params), (res, mpv, params))
VORK_MPV_FORWARD(void, mpv_render_context_set_update_callback,
                 (mpv_render_context * ctx, mpv_render_update_fn callback, void* callback_ctx),
                 (ctx, callback, callback_ctx))
VORK_MPV_FORWARD(uint64_t, mpv_render_context_update, (mpv_render_context * ctx), (ctx))
VORK_MPV_FORWARD(int, mpv_render_context_render, (mpv_render_context * ctx, mpv_render_param* params),
                 (ctx, params))
VORK_MPV_FORWARD(void, mpv_render_context_free, (mpv_render_context * ctx), (ctx))
