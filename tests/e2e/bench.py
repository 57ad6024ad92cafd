"""Prints how fast the program starts and how much memory it takes with its WebKit processes.

Each run brings up a fresh virtual desktop, starts the program and reports the time from the
program's start to its window being mapped and to the game view's first request, then, once
the page is drawn and the promotion has run, the RSS and PSS of the program and each of its
WebKit processes (from /proc/<pid>/smaps_rollup). Nothing is asserted.
"""

import argparse
import statistics
import time

import harness


def memory_kib(pid):
    """RSS and PSS of one process in KiB."""
    values = {}
    with open("/proc/%d/smaps_rollup" % pid) as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("Rss", "Pss"):
                values[key] = int(rest.split()[0])
    return values["Rss"], values["Pss"]


def one_run():
    with harness.Session() as session:
        started = session.start_program()
        session.wait_for_window()
        mapped = session.window_shown_at - started
        session.wait_for_entry_requests(1)
        first_request = session.proxy.requests[0][0] - started
        session.wait_for_page()
        session.wait_for_browser_urls(1)
        time.sleep(1.0)  # let the engine settle after drawing
        processes = [(session.program_pid, "tessaryn-desktop")] + [(pid, name) for pid, name, _ in
                                                                    session.webkit_helpers()]
        memory = [(name, *memory_kib(pid)) for pid, name in processes]
        session.key("Escape")
        session.wait_for_exit()
    return mapped, first_request, memory


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    runs = parser.parse_args().runs

    results = []
    for run in range(1, runs + 1):
        mapped, first_request, memory = one_run()
        results.append((mapped, first_request, memory))
        parts = ", ".join("%s RSS %d KiB PSS %d KiB" % process for process in memory)
        print("run %d: window mapped after %.0f ms, first request after %.0f ms; %s"
              % (run, 1000 * mapped, 1000 * first_request, parts), flush=True)

    def summary(values, unit):
        return "median %.0f %s, min %.0f, max %.0f" % (statistics.median(values), unit, min(values), max(values))

    print("window mapped:  " + summary([1000 * r[0] for r in results], "ms"))
    print("first request:  " + summary([1000 * r[1] for r in results], "ms"))
    print("total RSS:      " + summary([sum(rss for _, rss, _ in r[2]) / 1024 for r in results], "MiB"))
    print("total PSS:      " + summary([sum(pss for _, _, pss in r[2]) / 1024 for r in results], "MiB"))


if __name__ == "__main__":
    main()
