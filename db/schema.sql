-- The tables of a Lunmark database. A new database is made from this file.
-- Texts ignore letter case when compared; a text(n) column refuses more than
-- n characters; dates are ISO text "YYYY-MM-DD HH:MM:SS"; yes/no is 0 or 1.

CREATE TABLE SystemSet (
  ID          INTEGER PRIMARY KEY AUTOINCREMENT,
  Name        TEXT COLLATE NOCASE CHECK (length(Name) <= 30),
  Address     TEXT COLLATE NOCASE CHECK (length(Address) <= 50),
  Tel         TEXT COLLATE NOCASE CHECK (length(Tel) <= 15),
  Memo1       TEXT COLLATE NOCASE CHECK (length(Memo1) <= 20),
  Memo2       TEXT COLLATE NOCASE CHECK (length(Memo2) <= 20),
  Memo3       TEXT COLLATE NOCASE CHECK (length(Memo3) <= 8),
  Memo4       TEXT COLLATE NOCASE CHECK (length(Memo4) <= 50),
  Memo5       TEXT COLLATE NOCASE CHECK (length(Memo5) <= 50),
  Cust        TEXT COLLATE NOCASE CHECK (length(Cust) <= 10),
  ReportTitle TEXT COLLATE NOCASE CHECK (length(ReportTitle) <= 30),
  CW          TEXT COLLATE NOCASE CHECK (length(CW) <= 6),
  EnterDate   TEXT COLLATE NOCASE CHECK (length(EnterDate) <= 8),
  Fax         TEXT COLLATE NOCASE CHECK (length(Fax) <= 15),
  VexoPath    TEXT COLLATE NOCASE CHECK (length(VexoPath) <= 50),
  SystemID    TEXT COLLATE NOCASE CHECK (length(SystemID) <= 50),
  SuppID      TEXT COLLATE NOCASE CHECK (length(SuppID) <= 50),
  CustID      TEXT COLLATE NOCASE CHECK (length(CustID) <= 50),
  CustName    TEXT COLLATE NOCASE CHECK (length(CustName) <= 50),
  CustPwd     TEXT COLLATE NOCASE CHECK (length(CustPwd) <= 50),
  Date1       TEXT COLLATE NOCASE CHECK (length(Date1) <= 50)
);

CREATE TABLE Users (
  UserID       TEXT COLLATE NOCASE CHECK (length(UserID) <= 8),
  UserName     TEXT COLLATE NOCASE CHECK (length(UserName) <= 10),
  UserPwd      TEXT COLLATE NOCASE CHECK (length(UserPwd) <= 128), -- a password hash
  Sex          TEXT COLLATE NOCASE CHECK (length(Sex) <= 4),
  ID           TEXT COLLATE NOCASE CHECK (length(ID) <= 18),
  Tel1         TEXT COLLATE NOCASE CHECK (length(Tel1) <= 20),
  MoveTel1     TEXT COLLATE NOCASE CHECK (length(MoveTel1) <= 15),
  Address      TEXT COLLATE NOCASE CHECK (length(Address) <= 50),
  UserRights   TEXT COLLATE NOCASE,
  DftStockID   TEXT COLLATE NOCASE,
  DftStockName TEXT COLLATE NOCASE
);

CREATE TABLE Cust (
  id          TEXT COLLATE NOCASE CHECK (length(id) <= 15),
  name        TEXT COLLATE NOCASE CHECK (length(name) <= 10),
  Name1       TEXT COLLATE NOCASE CHECK (length(Name1) <= 10),
  Tel         TEXT COLLATE NOCASE CHECK (length(Tel) <= 15),
  CDTel       TEXT COLLATE NOCASE CHECK (length(CDTel) <= 15),
  HomeTel     TEXT COLLATE NOCASE CHECK (length(HomeTel) <= 15),
  Fax         TEXT COLLATE NOCASE CHECK (length(Fax) <= 15),
  Kind        TEXT COLLATE NOCASE CHECK (length(Kind) <= 16),
  birthday    TEXT,
  MGBirthday  TEXT COLLATE NOCASE CHECK (length(MGBirthday) <= 10),
  Identity    TEXT COLLATE NOCASE CHECK (length(Identity) <= 20),
  EnterDate   TEXT COLLATE NOCASE CHECK (length(EnterDate) <= 10),
  Address     TEXT COLLATE NOCASE CHECK (length(Address) <= 80),
  Memo        TEXT COLLATE NOCASE CHECK (length(Memo) <= 80),
  Memo1       TEXT COLLATE NOCASE CHECK (length(Memo1) <= 80),
  Memo2       TEXT COLLATE NOCASE CHECK (length(Memo2) <= 80),
  Memo3       TEXT COLLATE NOCASE CHECK (length(Memo3) <= 50),
  Memo4       TEXT COLLATE NOCASE CHECK (length(Memo4) <= 50),
  Memo5       TEXT COLLATE NOCASE CHECK (length(Memo5) <= 255),
  date1       TEXT COLLATE NOCASE CHECK (length(date1) <= 50),
  photo       TEXT COLLATE NOCASE CHECK (length(photo) <= 254),
  isEnabled   INTEGER NOT NULL DEFAULT 1 CHECK (isEnabled IN (0, 1)),
  IsSelected  INTEGER NOT NULL DEFAULT 0 CHECK (IsSelected IN (0, 1)),
  NoSms       INTEGER NOT NULL DEFAULT 0 CHECK (NoSms IN (0, 1))
);
CREATE INDEX CustById ON Cust (id);
CREATE INDEX CustByName ON Cust (name);

CREATE TABLE Kinds (
  KindName TEXT COLLATE NOCASE CHECK (length(KindName) <= 20)
);

CREATE TABLE CWNames (
  Id   INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT COLLATE NOCASE
);

CREATE TABLE Normal (
  Normal TEXT COLLATE NOCASE CHECK (length(Normal) <= 255)
);

CREATE TABLE Sign (
  ID   INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT COLLATE NOCASE
);

-- Message holds the whole text that was sent: the history never shortens it.
CREATE TABLE MessageHistory (
  ID         INTEGER PRIMARY KEY AUTOINCREMENT,
  CustID     TEXT COLLATE NOCASE CHECK (length(CustID) <= 50),
  CustName   TEXT COLLATE NOCASE CHECK (length(CustName) <= 50),
  Salutation TEXT COLLATE NOCASE CHECK (length(Salutation) <= 50),
  Tel        TEXT COLLATE NOCASE CHECK (length(Tel) <= 50),
  Message    TEXT COLLATE NOCASE,
  SendDate   TEXT,
  Memo       TEXT COLLATE NOCASE CHECK (length(Memo) <= 50),
  Sign       TEXT COLLATE NOCASE CHECK (length(Sign) <= 50)
);
CREATE INDEX MessageHistoryBySendDate ON MessageHistory (SendDate);

CREATE TABLE File (
  Date1       TEXT,
  Name        TEXT COLLATE NOCASE CHECK (length(Name) <= 200),
  Kind        TEXT COLLATE NOCASE CHECK (length(Kind) <= 50),
  ContentNo   TEXT COLLATE NOCASE CHECK (length(ContentNo) <= 200),
  ContentName TEXT COLLATE NOCASE CHECK (length(ContentName) <= 200),
  Memo        TEXT COLLATE NOCASE,
  Path1       TEXT COLLATE NOCASE CHECK (length(Path1) <= 200)
);

-- Cust.NoSms (不接收簡訊): the member asked to receive no SMS; the send window,
-- lunmark --send and the imports honour it. Older registers gain it on start.

-- Member searches saved under a name, shared by every desk: the criterion row's inputs and the sort.
CREATE TABLE SavedSearch (
  Name           TEXT COLLATE NOCASE NOT NULL CHECK (length(Name) <= 30),
  Criterion      INTEGER NOT NULL DEFAULT -1,
  Value          TEXT COLLATE NOCASE CHECK (length(Value) <= 80),
  Upper          TEXT COLLATE NOCASE CHECK (length(Upper) <= 80),
  Year           TEXT COLLATE NOCASE CHECK (length(Year) <= 10),
  Month          TEXT COLLATE NOCASE CHECK (length(Month) <= 10),
  Day            TEXT COLLATE NOCASE CHECK (length(Day) <= 10),
  ActiveMembers  INTEGER NOT NULL DEFAULT 1 CHECK (ActiveMembers IN (0, 1)),
  SortField      TEXT COLLATE NOCASE CHECK (length(SortField) <= 30),
  SortDescending INTEGER NOT NULL DEFAULT 0 CHECK (SortDescending IN (0, 1))
);
CREATE UNIQUE INDEX SavedSearchByName ON SavedSearch (Name);

-- CustHistory: every change to a member, recorded in the transaction of the change.
-- The members an import stored carry its batch record's ID in BatchID; by time
-- only the batch record itself is listed.
CREATE TABLE CustHistory (
  ID         INTEGER PRIMARY KEY AUTOINCREMENT,
  ChangeTime TEXT,
  UserID     TEXT COLLATE NOCASE,
  Host       TEXT COLLATE NOCASE,
  CustRowid  INTEGER,
  CustID     TEXT COLLATE NOCASE,
  Action     TEXT COLLATE NOCASE,
  Field      TEXT COLLATE NOCASE,
  OldValue   TEXT,
  NewValue   TEXT,
  BatchID    INTEGER
);
CREATE INDEX CustHistoryByMember ON CustHistory (CustID, ChangeTime);
CREATE INDEX CustHistoryByTime ON CustHistory (ChangeTime) WHERE BatchID IS NULL;

-- The last ten member imports and what each changed, so the last one can be
-- taken back. Mode is add, update, skip or replace; Action of a row is
-- inserted or updated (the member's values after the import) or replaced
-- (the values an update overwrote).
CREATE TABLE ImportLog (
  ID         INTEGER PRIMARY KEY AUTOINCREMENT,
  ImportedAt TEXT,
  UserName   TEXT COLLATE NOCASE,
  Host       TEXT COLLATE NOCASE,
  FileName   TEXT COLLATE NOCASE,
  Mode       TEXT COLLATE NOCASE,
  Added      INTEGER NOT NULL DEFAULT 0,
  Updated    INTEGER NOT NULL DEFAULT 0,
  Skipped    INTEGER NOT NULL DEFAULT 0,
  Duplicates INTEGER NOT NULL DEFAULT 0,
  BackupPath TEXT COLLATE NOCASE
);

CREATE TABLE ImportLogRow (
  ImportID   INTEGER NOT NULL DEFAULT 0,
  CustRowid  INTEGER NOT NULL DEFAULT 0,
  Action     TEXT COLLATE NOCASE,
  id         TEXT COLLATE NOCASE,
  name       TEXT COLLATE NOCASE,
  Name1      TEXT COLLATE NOCASE,
  Tel        TEXT COLLATE NOCASE,
  CDTel      TEXT COLLATE NOCASE,
  HomeTel    TEXT COLLATE NOCASE,
  Fax        TEXT COLLATE NOCASE,
  Kind       TEXT COLLATE NOCASE,
  birthday   TEXT,
  MGBirthday TEXT COLLATE NOCASE,
  Identity   TEXT COLLATE NOCASE,
  EnterDate  TEXT COLLATE NOCASE,
  Address    TEXT COLLATE NOCASE,
  Memo       TEXT COLLATE NOCASE,
  Memo1      TEXT COLLATE NOCASE,
  Memo2      TEXT COLLATE NOCASE,
  Memo3      TEXT COLLATE NOCASE,
  Memo4      TEXT COLLATE NOCASE,
  date1      TEXT COLLATE NOCASE,
  isEnabled  INTEGER
);
CREATE INDEX ImportLogRowByImport ON ImportLogRow (ImportID, Action);
