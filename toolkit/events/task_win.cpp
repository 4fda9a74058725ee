// Task start-up: the fixed sequence of steps that brings the toolkit up,
// each logged with the error so far, each skipped once a step failed.
#include <windows.h>
#include <cstring>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"
#include "toolkit/events/sprites.h"
#include "toolkit/events/templates.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"

display_metrics display = {96, 96, 1024, 768, 24};

namespace {

char name[64];
char resource_directory[64];
const char *date_format = "";
const char *time_format = "";

template_entry info_table[] = {
    {3, 1, nullptr, "Info"},
    {0, 0, nullptr, nullptr},
};
template_link info_link;

unsigned err_of(const error_block *e) { return e ? (unsigned)e->errnum : 0; }

void copy(char *to, const char *from, int size)
{
    xzstrncpy(to, from ? from : "", size);
}

}  // namespace

void display_read_metrics()
{
    HDC screen = GetDC(nullptr);
    display.dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    display.dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    display.bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    display.width = GetSystemMetrics(SM_CXSCREEN);
    display.height = GetSystemMetrics(SM_CYSCREEN);
    if (display.dpi_x <= 0)
        display.dpi_x = 96;
    if (display.dpi_y <= 0)
        display.dpi_y = 96;
}

const char *task_name() { return name; }
const char *task_resource_directory() { return resource_directory; }

const error_block *inittask(const char *task, const char *title, const char *resources,
                            const char *data_directory, startup_callback callback)
{
    copy(name, task, sizeof name);
    task_set_title(title);
    copy(resource_directory, resources, sizeof resource_directory);

    display_read_metrics();
    const error_block *e = nullptr;
    debug_log("process %lu", GetCurrentProcessId());
    debug_log("start task err=%x", err_of(e));
    e = flex_init2();
    debug_log("flex_init2 err=%x", err_of(e));
    if (!e)
        error_clear_tables();
    debug_log("initerror err=%x", err_of(e));
    if (!e) {
        template_clear();
        e = inittemp();
        debug_log("inittemp err=%x", err_of(e));
        sprites_clear();
    }
    if (!e) {
        messages_clear();
        debug_log("inittrans err=%x", err_of(e));
        if (callback)
            callback(0);
        debug_log("initalloc err=%x", err_of(e));
        registry_clear();
        events_link_files();
        date_format = "%ZDY %M3 %YR";
        time_format = "%Z12:%MI%AM";
        (void)date_format;
        (void)time_format;
        hourglass_load_pointers();
        error_register_toolkit_table();
        debug_log("taskerrors err=%x", err_of(e));
        e = addsprites(data_directory);
        debug_log("addsprites err=%x", err_of(e));
    }
    if (!e)
        e = service_call(0x10000, 0, 0);
    if (!e)
        e = service_call(0x10006, 0, 0);
    if (!e) {
        e = addtrans(data_directory && *data_directory ? data_directory : nullptr, "Messages.txt", nullptr);
        debug_log("add messages err=%x", err_of(e));
    }
    if (!e)
        e = service_call(0x10001, 0, 0);
    if (!e)
        e = template_register(info_table, &info_link);
    debug_log("end inittask err=%x", err_of(e));
    return e;
}
