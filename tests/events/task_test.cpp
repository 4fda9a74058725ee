// The task: start-up, the handler registry, polls with and without null
// handlers, timed callbacks, service calls, user messages and the busy
// pointer.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "events_test_util.h"
#include "toolkit/events/sprites.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"

namespace {

std::vector<std::string> seen;

const error_block *note_a(void *) { seen.push_back("a"); return nullptr; }
const error_block *note_b(void *) { seen.push_back("b"); return nullptr; }
const error_block *note_c(void *) { seen.push_back("c"); return nullptr; }

const error_block *leaves(void *)
{
    seen.push_back("leaves");
    deregister_postpoll(leaves, nullptr);
    return nullptr;
}

class TaskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        start_task();
        seen.clear();
    }
};

TEST_F(TaskTest, StartUpRunsEveryStepInOrderAndLoadsMessagesAndSprites)
{
    // The task was started by the first test; start a second time to read
    // the whole sequence.
    log_mark();
    ASSERT_EQ(inittask("Quillmere", "Quillmere", "!Quillmere", nullptr, nullptr), nullptr);
    std::string log = log_since_mark();
    const char *steps[] = {"start task err=0", "flex_init2 err=0", "initerror err=0", "inittemp err=0",
                           "inittrans err=0", "initalloc err=0", "taskerrors err=0", "addsprites err=0",
                           "add messages err=0", "end inittask err=0"};
    size_t at = 0;
    for (const char *step : steps) {
        size_t found = log.find(step, at);
        ASSERT_NE(found, std::string::npos) << step << " missing or out of order in:\n" << log;
        at = found;
    }
    EXPECT_STREQ(task_title(), "Quillmere");
    EXPECT_STREQ(lookup_token("ABOUT"), "About Quillmere");
    EXPECT_EQ(make_error(21, 7)->errmess, std::string("Bad template tag 7."));
    EXPECT_EQ(sprites_count(), 1);
    EXPECT_NE(sprite_find("RINDENT"), nullptr);
    EXPECT_EQ(sprite_find("warning"), nullptr);
}

TEST_F(TaskTest, RegisteringTwiceKeepsOneEntryAndAMissedRemovalIsLogged)
{
    ASSERT_EQ(register_postpoll(note_a, nullptr), nullptr);
    ASSERT_EQ(register_postpoll(note_a, nullptr), nullptr);
    EXPECT_EQ(event_count(EV_POSTPOLL), 1);
    // Same handler, different datum: a second entry.
    ASSERT_EQ(register_postpoll(note_a, &seen), nullptr);
    EXPECT_EQ(event_count(EV_POSTPOLL), 2);
    deregister_postpoll(note_a, &seen);
    deregister_postpoll(note_a, nullptr);
    EXPECT_EQ(event_count(EV_POSTPOLL), 0);

    log_mark();
    deregister_postpoll(note_a, nullptr);
    EXPECT_NE(log_since_mark().find("remblock missed type -2 message 0"), std::string::npos);
    EXPECT_EQ(event_count(EV_POSTPOLL), 0);
}

TEST_F(TaskTest, AHandlerThatLeavesDuringDispatchDoesNotMakeTheNextOneSkipped)
{
    register_postpoll(note_a, nullptr);
    register_postpoll(leaves, nullptr);
    register_postpoll(note_b, nullptr);
    register_postpoll(note_c, nullptr);
    PostMessageA(nullptr, WM_USER, 0, 0);
    poll_once();
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "leaves", "b", "c"}));
    seen.clear();
    PostMessageA(nullptr, WM_USER, 0, 0);
    poll_once();
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
    deregister_postpoll(note_a, nullptr);
    deregister_postpoll(note_b, nullptr);
    deregister_postpoll(note_c, nullptr);
}

TEST_F(TaskTest, TheRegistryGrowsPastItsFirstChunkAndShrinksBack)
{
    static int data[200];
    for (int i = 0; i < 200; i++)
        ASSERT_EQ(register_prepoll(note_a, &data[i]), nullptr);
    EXPECT_EQ(event_count(EV_PREPOLL), 200);
    PostMessageA(nullptr, WM_USER, 0, 0);
    poll_once();
    EXPECT_EQ(seen.size(), 200u);
    for (int i = 0; i < 200; i++)
        deregister_prepoll(note_a, &data[i]);
    EXPECT_EQ(event_count(EV_PREPOLL), 0);
}

int nulls = 0;
const error_block *count_null(void *) { nulls++; return nullptr; }
bool waited = false;
const error_block *post_later(void *) { waited = true; return nullptr; }

TEST_F(TaskTest, APollCallsEachNullHandlerOnceAndWaitsWhenThereIsNone)
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    nulls = 0;
    register_null(count_null, nullptr);
    register_prepoll(note_a, nullptr);
    register_postpoll(note_b, nullptr);
    poll_once();
    EXPECT_EQ(nulls, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
    deregister_null(count_null, nullptr);
    deregister_prepoll(note_a, nullptr);
    deregister_postpoll(note_b, nullptr);

    // With no null handler the poll waits: here until a callback 5 cs on.
    waited = false;
    int start = monotonic_time();
    call_after(post_later, nullptr, 5);
    poll_once();
    EXPECT_TRUE(waited);
    EXPECT_GE(monotonic_time() - start, 4);
    EXPECT_EQ(nulls, 1);
}

std::vector<int> fired;
const error_block *fire(void *value) { fired.push_back((int)(intptr_t)value); return nullptr; }
bool both_fired() { return fired.size() >= 2; }
bool one_fired() { return fired.size() >= 1; }

TEST_F(TaskTest, CallbacksFireInDeadlineOrderAndReRegisteringMovesTheDeadline)
{
    fired.clear();
    call_after(fire, (void *)50, 50);
    call_after(fire, (void *)20, 20);
    EXPECT_EQ(event_count(EV_CALLBACK), 2);
    ASSERT_TRUE(poll_until(both_fired, 300));
    EXPECT_EQ(fired, (std::vector<int>{20, 50}));
    EXPECT_EQ(event_count(EV_CALLBACK), 0);

    fired.clear();
    int start = monotonic_time();
    call_after(fire, (void *)1, 500);
    call_after(fire, (void *)1, 10);
    EXPECT_EQ(event_count(EV_CALLBACK), 1);
    ASSERT_TRUE(poll_until(one_fired, 300));
    EXPECT_LT(monotonic_time() - start, 300);
    EXPECT_EQ(fired, std::vector<int>{1});

    fired.clear();
    call_after(fire, (void *)2, 5);
    remove_call_after(fire, (void *)2);
    EXPECT_FALSE(poll_until(one_fired, 20));
}

const error_block *service_ok(int, void *value, intptr_t a, intptr_t b)
{
    seen.push_back("ok " + std::to_string((intptr_t)value) + " " + std::to_string(a + b));
    return nullptr;
}
const error_block *service_fails(int code, void *, intptr_t, intptr_t) { return make_error(21, code); }

TEST_F(TaskTest, ServiceCallsStopAtTheFirstError)
{
    EXPECT_EQ(service_call(0x4321, 0, 0), nullptr);
    register_service(service_ok, 0x4321, (void *)1);
    register_service(service_fails, 0x4321, nullptr);
    register_service(service_ok, 0x4321, (void *)2);
    register_service(service_ok, 0x4322, (void *)3);
    const error_block *e = service_call(0x4321, 2, 3);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 21);
    EXPECT_EQ(seen, std::vector<std::string>{"ok 1 5"});
    deregister_service(service_ok, 0x4321, (void *)1);
    deregister_service(service_fails, 0x4321, nullptr);
    deregister_service(service_ok, 0x4321, (void *)2);
    deregister_service(service_ok, 0x4322, (void *)3);
}

const error_block *claims(user_message *, int *claimed) { *claimed = 1; return nullptr; }
const error_block *listens(user_message *m, int *) { seen.push_back(std::to_string(m->action)); return nullptr; }

int exit_status = -1;
void no_exit(int status) { exit_status = status; }

TEST_F(TaskTest, UserMessagesReachHandlersOfTheirActionAndQuitSendsMessageZero)
{
    user_message m = {};
    m.action = MESSAGE_FONT_CHANGE;
    register_user_message(listens, MESSAGE_FONT_CHANGE);
    EXPECT_EQ(send_message(&m), 1);
    register_user_message(claims, MESSAGE_FONT_CHANGE);
    EXPECT_EQ(send_message(&m), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"557056", "557056"}));
    deregister_user_message(claims, MESSAGE_FONT_CHANGE);
    deregister_user_message(listens, MESSAGE_FONT_CHANGE);

    seen.clear();
    register_user_message(listens, MESSAGE_QUIT);
    register_postpoll(note_b, nullptr);
    void (*saved)(int) = task_exit;
    task_exit = no_exit;
    task_quit(3);
    poll_once();
    task_exit = saved;
    EXPECT_EQ(exit_status, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"b", "0"}));
    deregister_user_message(listens, MESSAGE_QUIT);
    deregister_postpoll(note_b, nullptr);
}

TEST_F(TaskTest, TheBusyCountNeverGoesBelowZero)
{
    log_mark();
    hourglass_on();
    hourglass_on();
    EXPECT_EQ(hourglass_count(), 2);
    hourglass_off();
    hourglass_off();
    hourglass_off();
    EXPECT_EQ(hourglass_count(), 0);
    std::string log = log_since_mark();
    EXPECT_NE(log.find("hourglass++ 0"), std::string::npos);
    EXPECT_NE(log.find("hourglass++ 1"), std::string::npos);
    EXPECT_NE(log.find("hourglass-- 0"), std::string::npos);
}

}  // namespace
