#ifndef ARGIDS_H
#define ARGIDS_H

// Channels: Id of SIG_Data(Id, Arg1, s). Texts for the status line come on
// the first, results on the second.
constexpr unsigned int DATA_CHANNEL_TEXT = 1;
constexpr unsigned int DATA_CHANNEL_RESULT = 2;

// Result identifiers: Arg1 of SIG_Data(2, Arg1, s). 1, 2, 33 and 35 are the
// link's own events; the others come back with the command that carried them.
constexpr unsigned int ARG_SUPPORT_INSERTED = 1;
constexpr unsigned int ARG_SUPPORT_REMOVED = 2;
constexpr unsigned int ARG_BADGE_CREATE_RESULT = 8;
constexpr unsigned int ARG_BADGE_READ_RESULT = 9;
constexpr unsigned int ARG_BADGE_WRITE_RESULT = 10;
constexpr unsigned int ARG_CONFIG_GET_RESULT = 16;
constexpr unsigned int ARG_FILE_LN_CLEAR_RESULT = 18;
constexpr unsigned int ARG_FILE_LN_ADD_RESULT = 19;
constexpr unsigned int ARG_FILE_LN_GET_RESULT = 20;
constexpr unsigned int ARG_COUPLEUR_BLOCK_RESULT = 21;
constexpr unsigned int ARG_COUPLEUR_TRAILER_WRITE_RESULT = 22;
constexpr unsigned int ARG_COUPLEUR_TRAILER_READ_RESULT = 23;
constexpr unsigned int ARG_CONFIG_PUT_RESULT = 24;
constexpr unsigned int ARG_CONFIG_PUT_SAVE_RESULT = 25;
constexpr unsigned int ARG_FILE_ACCESS_CLEAR_RESULT = 26;
constexpr unsigned int ARG_FILE_ACCESS_ADD_RESULT = 27;
constexpr unsigned int ARG_FILE_ACCESS_GET_RESULT = 28;
constexpr unsigned int ARG_BADGE_FORMAT_RESULT = 32;
constexpr unsigned int ARG_POLLING_TIMEOUT = 33;
constexpr unsigned int ARG_TEST_RESULT = 34;
constexpr unsigned int ARG_LINK_STATE = 35;
// Every step of the whole-card read, restore and compare of the Expert tab, so that its
// answers never mix with those of the single-block form.
constexpr unsigned int ARG_CARD_DUMP_RESULT = 36;

#endif // ARGIDS_H
