// Control ids of the fixture program's controls.
#pragma once
enum FixtureControl {
    FIXTURE_PUSH = 101,
    FIXTURE_CHECK,
    FIXTURE_RADIO,
    FIXTURE_GROUP,
    FIXTURE_OWNERDRAW,
    FIXTURE_EDIT,
    FIXTURE_PASSWORD,
    FIXTURE_VSCROLL,
    FIXTURE_HSCROLL,
    FIXTURE_STATIC,
};
