"""Writes a varied calendar with a real iCalendar library (all-day, UTC, floating and TZID
times, a holiday of several days, yearly birthdays one of them on 29 February, folded and
escaped Unicode summaries, a to-do and a weekly event), has import_sample import it, and
compares the notes and the report with what they must be; a second import must change nothing.
    import_icalendar.py IMPORT_SAMPLE WORK_FOLDER"""
import datetime
import json
import os
import subprocess
import sys

import icalendar

LONG = "Фестиваль света, музыки; и огней \\ " + "✨" * 20 + " até à noite 🎆"


def event(summary, start, end=None, **extra):
    item = icalendar.Event()
    item.add("uid", f"{len(summary)}-{start}@example.org")
    item.add("summary", summary)
    item.add("dtstart", start, parameters=extra.pop("start_parameters", None))
    if end is not None:
        item.add("dtend", end)
    for name, value in extra.items():
        item.add(name, value)
    return item


def calendar():
    cal = icalendar.Calendar()
    cal.add("prodid", "-//Example//Import test//EN")
    cal.add("version", "2.0")
    date, time = datetime.date, datetime.datetime
    utc = datetime.timezone.utc
    for item in [
        event("Christmas Eve, family; dinner", date(2026, 12, 24), date(2026, 12, 25)),
        event("Winter holidays", date(2026, 12, 25), date(2026, 12, 28)),
        event("Late call", time(2026, 12, 10, 23, 30, tzinfo=utc), time(2026, 12, 11, 0, 30, tzinfo=utc)),
        event("Dentist", time(2026, 12, 10, 9, 30)),
        event("Standup", time(2026, 12, 11, 9, 0), start_parameters={"TZID": "America/New_York"}),
        event("Ann's birthday 🎂", date(1990, 3, 15), rrule={"freq": "yearly"}),
        event("Leap birthday", date(2000, 2, 29), rrule={"freq": "yearly"}),
        event(LONG, date(2026, 7, 1)),
        event("Trip", date(2026, 8, 1), description="Trip\nPack bags, passport"),
        event("Gym", date(2026, 12, 7), rrule={"freq": "weekly"}),
    ]:
        cal.add_component(item)
    todo = icalendar.Todo()
    todo.add("summary", "File taxes")
    cal.add_component(todo)
    return cal.to_ical()


EXPECTED = {
    "241226": "Christmas Eve, family; dinner",
    "251226": "Winter holidays",
    "261226": "Winter holidays",
    "271226": "Winter holidays",
    "111226": "00:30 Late call\r\n09:00 Standup",
    "101226": "09:30 Dentist",
    "150326": "Ann's birthday 🎂",
    "150327": "Ann's birthday 🎂",
    "010726": LONG,
    "010826": "Trip\r\nPack bags, passport",
}
REPORT = ("Imported 8 events into 10 days. 2 were skipped (a repeat rule Dayvane does not read: 1, "
          "a to-do or journal: 1). 1 yearly event on 29 February has no day in 2026 or 2027.")
AGAIN = "Nothing new was imported. 8 were already there; 2 were skipped (a repeat rule Dayvane does not read: 1, " \
        "a to-do or journal: 1). 1 yearly event on 29 February has no day in 2026 or 2027."


def main(sample, folder):
    ics, got = os.path.join(folder, "written.ics"), os.path.join(folder, "imported.jsonl")
    data = calendar()
    assert b"\r\n " in data and b"\\," in data and b"\\;" in data, "folded and escaped lines"
    with open(ics, "wb") as out:
        out.write(data)
    subprocess.run([sample, ics, got], check=True)
    with open(got, encoding="utf-8") as lines:
        rows = [json.loads(line) for line in lines]
    notes = {row["key"]: row["text"] for row in rows[:-1]}
    assert notes == EXPECTED, json.dumps(notes, ensure_ascii=False, indent=1)
    assert rows[-1]["report"] == REPORT, rows[-1]["report"]
    assert rows[-1]["changed_again"] == 0 and rows[-1]["again"] == AGAIN, rows[-1]
    print(f"{len(notes)} days imported as expected; a second import changed nothing")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
