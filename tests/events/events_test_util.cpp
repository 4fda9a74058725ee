// Set-up shared by the toolkit's window tests.
#include "events_test_util.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "toolkit/events/templates.h"
#include "toolkit/messages/error.h"

namespace {

char log_path[MAX_PATH];
size_t mark = 0;
bool started = false;

template_entry test_templates[] = {
    {1, 1, nullptr, "Confirm"},
    {3, 1, nullptr, "Info"},
    {300, 0, nullptr, "testwin"},
    {301, 0, nullptr, "scroller"},
    {302, 0, nullptr, "pane"},
    {303, 0, nullptr, "shot"},
    {310, 0, nullptr, "faults"},
    {0, 0, nullptr, nullptr},
};
template_link test_link;

// The log file must be named before the first log line is written.
struct log_setup {
    log_setup()
    {
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        snprintf(log_path, sizeof log_path, "%sevents_test_%lu.log", dir, GetCurrentProcessId());
        DeleteFileA(log_path);
        std::string setting = std::string("QUILLMERE_LOG=") + log_path;
        _putenv(setting.c_str());
    }
    ~log_setup() { DeleteFileA(log_path); }
} setup;

std::string whole_log()
{
    std::ifstream in(log_path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

void start_task()
{
    if (started)
        return;
    const error_block *e = inittask("Quillmere", "Quillmere", "!Quillmere", nullptr, nullptr);
    ASSERT_EQ(e, nullptr) << e->errmess;
    e = template_register(test_templates, &test_link);
    ASSERT_EQ(e, nullptr) << e->errmess;
    started = true;
}

void log_mark() { mark = whole_log().size(); }

std::string log_since_mark()
{
    std::string all = whole_log();
    std::string tail = all.size() > mark ? all.substr(mark) : std::string();
    mark = all.size();
    return tail;
}

void pump(int limit)
{
    MSG m;
    for (int i = 0; i < limit && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE); i++)
        poll_once();
}

bool poll_until(bool (*done)(), int centiseconds)
{
    int end = monotonic_time() + centiseconds;
    while (!done()) {
        if (monotonic_time() - end > 0)
            return false;
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE))
            poll_once();
        else
            Sleep(5);
    }
    return true;
}

LPARAM client_point(int x, int y) { return MAKELPARAM(x, y); }
