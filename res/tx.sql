-- Schema of tx.mdb (being written).
CREATE TABLE IF NOT EXISTS placeholder_to_be_replaced (x INTEGER);
