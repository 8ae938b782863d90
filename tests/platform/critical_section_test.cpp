// Tests of the simulated critical sections: they tell whether they are set
// up, a thread may enter again a section it holds, another thread gets in only after the last leave, and
// two threads never run inside the section together.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "simulator/device_simulator.hpp"
#include "simulator/windows_ce_api.hpp"

TEST(critical_section, reports_whether_it_is_set_up) {
    CRITICAL_SECTION section{};
    EXPECT_FALSE(device_simulator::critical_section_is_initialized(section));
    InitializeCriticalSection(&section);
    EXPECT_TRUE(device_simulator::critical_section_is_initialized(section));
    DeleteCriticalSection(&section);
    EXPECT_FALSE(device_simulator::critical_section_is_initialized(section));
}

TEST(critical_section, is_recursive_and_held_until_the_last_leave) {
    device_simulator::reset();
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    std::atomic<bool> other_entered{false};
    EnterCriticalSection(&section);
    EnterCriticalSection(&section);  // would deadlock if the section were not recursive
    LeaveCriticalSection(&section);
    std::thread other([&] {
        EnterCriticalSection(&section);
        other_entered = true;
        LeaveCriticalSection(&section);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(other_entered);  // one leave of two: still held
    LeaveCriticalSection(&section);
    other.join();
    EXPECT_TRUE(other_entered);
    DeleteCriticalSection(&section);
}

TEST(critical_section, excludes_other_threads) {
    device_simulator::reset();
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    long counter = 0;  // plain on purpose: only the section protects it
    auto work = [&] {
        for (int round = 0; round < 20000; ++round) {
            EnterCriticalSection(&section);
            if (inside.fetch_add(1) != 0) overlapped = true;
            long seen = counter;
            std::this_thread::yield();
            counter = seen + 1;
            inside.fetch_sub(1);
            LeaveCriticalSection(&section);
        }
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(counter, 40000);
    DeleteCriticalSection(&section);
}
