#pragma once

#include <QStringList>

// The send run from the shell, without windows or a display:
//   lunmark --send --to PHONE[,PHONE…] --message TEXT [--name NAME]
//           [--sign TEXT] [--yes] [--ignore-quiet-hours]
//           [--blank-empty-fields] [--database PATH|URL]
//   lunmark --send --search SEARCH --message TEXT …
// --search sends to the enabled members a saved or built-in search finds
// (each under their own name, with their mobile number), as the send
// window's search adds them.
// The same run as the send window's (composition, Big5 check, history rows,
// unconfirmed and refused messages, the new signature), with the gateway
// settings of the same lunmark.ini and the account of SystemSet. --name
// puts the name before every message, as 名字+稱謂 does; --sign adds the
// signature, as 署名 does. Without --yes it shows the count and the credit
// and asks, No unless the answer is y. It prints one line per recipient
// (number, state, gateway answer) and a summary. The message's fields are
// merged as in the window: a --to number matched to a member by telephone
// gives the member's values, any other only {姓名} (the --name);
// --blank-empty-fields leaves a field without a value empty instead of
// refusing. Numbers of members marked 不接收簡訊 are left out. Inside
// [Sms] QuietHours nothing is sent unless --ignore-quiet-hours is given.

// Whether the command line asks for a send run.
bool isCommandLineSend(const QStringList& arguments);

// Runs it; the program's exit code: 0 when every message was sent, 3 when
// any is unconfirmed, refused or left unsent, 1 when nothing was sent
// because of an error or a No before sending.
int runCommandLineSend(int argc, char** argv);
