-- The notes database Data/UserData.db: one row per day key.
-- YearMonthStr: the day "YYYYMMDD" (Sunday's note is kept under Saturday's key).
-- Content: the note box's document as RTF. ContentBak: its plain text, lines joined by CR LF.
-- The key is indexed but not unique: rows made by other tools may repeat a key, and the first
-- row of a key is the one read and written.
create table tb_NewKQ (
    ID integer primary key,
    YearMonthStr text,
    Content blob,
    ContentBak text
);
create index ix_NewKQ_YearMonthStr on tb_NewKQ (YearMonthStr);
