#pragma once

#include <QString>

// Two desks adding members at the same time: this program adds A0001…
// through a dataset, one save a member as the member window stores them,
// while a second program (lunmark_db_peer) adds B0001… to the same register.
// Each pauses pauseMs between members, as people at two desks do, so that
// neither holds the lock all the time; half way this program waits until the
// other has stored a member after its own first half, so that the writes
// overlap however the two processes are scheduled. A busy save is pressed
// again, as a user does after the busy message. Fails the test on any other
// error, or when the other program does not add all of its members.
void addMembersBesideAnotherProgram(const QString& database, int each, int pauseMs);
