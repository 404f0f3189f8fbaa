"""Reads an exported iCalendar file with a real parser and compares every event with the
notes it was written from: one all-day event per note, its date, its text."""
import datetime
import json
import sys

import icalendar


def main(ics_path, expected_path):
    with open(expected_path, encoding="utf-8") as lines:
        expected = [json.loads(line) for line in lines]
    with open(ics_path, "rb") as data:
        raw = data.read()
    assert all(line.endswith(b"\r") for line in raw.split(b"\n")[:-1]), "every line ends in CR LF"
    assert all(len(line.rstrip(b"\r")) <= 75 for line in raw.split(b"\n")), "no line longer than 75 octets"
    calendar = icalendar.Calendar.from_ical(raw)
    events = [part for part in calendar.walk() if part.name == "VEVENT"]
    assert len(events) == len(expected), f"{len(events)} events for {len(expected)} notes"
    for event, note in zip(events, expected):
        start = event.decoded("DTSTART")
        end = event.decoded("DTEND")
        assert start.isoformat() == note["date"], (start, note["date"])
        assert end - start == datetime.timedelta(days=1), (start, end)
        text = note["text"].replace("\r\n", "\n")
        assert str(event["DESCRIPTION"]) == text, (str(event["DESCRIPTION"]), text)
        assert str(event["SUMMARY"]) == text.split("\n")[0]
        assert str(event["UID"]) == start.strftime("%Y%m%d") + "@dayvane.example"
    print(f"{len(events)} events read back, each with its note's date and text")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
