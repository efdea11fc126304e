// The learner's record in the browser: one text, kept in IndexedDB under a fixed
// key. The core writes and reads the text; this file never looks inside it.
//
//   const storage = await openRecordStorage({ onSaveError });  // null: no storage here
//   await storage.load();           // the text, or null when there is none yet
//   storage.save(text);             // in order; saves made during a write coalesce
//   await storage.keepAside(text);  // unreadable text kept under its own key
//
// openRecordStorage never throws and settles within about two seconds.
'use strict';

const RECORD_DATABASE = 'quillory';
const RECORD_STORE = 'record';
const RECORD_KEY = 'record';

function openRecordStorage({ onSaveError = () => {}, timeout = 2000 } = {}) {
  // One request as a promise; a transaction's failure rejects too.
  const done = (transaction, request) => new Promise((resolve, reject) => {
    transaction.oncomplete = () => resolve(request?.result);
    transaction.onerror = transaction.onabort = () =>
      reject(transaction.error || request?.error || new Error('transaction aborted'));
  });

  // The database, or null: refused, failed, or blocked past the timeout.
  const open = () => new Promise((resolve) => {
    let settled = false;
    const settle = (db) => {
      if (settled) {
        db?.close();
        return;
      }
      settled = true;
      clearTimeout(timer);
      resolve(db);
    };
    const timer = setTimeout(() => settle(null), timeout);
    try {
      const request = self.indexedDB.open(RECORD_DATABASE, 1);
      request.onupgradeneeded = () => request.result.createObjectStore(RECORD_STORE);
      request.onsuccess = () => settle(request.result);
      request.onerror = (event) => {
        event.preventDefault?.();
        settle(null);
      };
    } catch {
      settle(null); // no IndexedDB, or storage blocked for this page
    }
  });

  let db = null;
  const connect = async () => {
    if (db) return db;
    const opened = await open();
    if (!opened) throw new Error('the record storage cannot be opened');
    // Another tab upgrading, or the browser clearing storage: reopen on the next use.
    opened.onversionchange = () => {
      opened.close();
      if (db === opened) db = null;
    };
    opened.onclose = () => {
      if (db === opened) db = null;
    };
    db = opened;
    return db;
  };

  const write = async (key, value) => {
    const transaction = (await connect()).transaction(RECORD_STORE, 'readwrite', { durability: 'strict' });
    transaction.objectStore(RECORD_STORE).put(value, key);
    await done(transaction);
  };

  // Saves: one write at a time; while one runs, only the latest text waits.
  let next = null; // { text, waiters }
  let writing = false;
  let failing = false;
  let unread = false; // a load failed: never write over a record not read

  async function drain() {
    writing = true;
    while (next) {
      const { text, waiters } = next;
      next = null;
      let ok = false;
      let error = null;
      if (unread) error = new Error('the saved record could not be read, so it is not written over');
      else {
        try {
          await write(RECORD_KEY, text);
          ok = true;
        } catch (caught) {
          error = caught;
        }
      }
      // Told once per run of failures (a full disk, say), not at every save.
      if (!ok && !failing) {
        try {
          onSaveError(error);
        } catch (caught) {
          console.error(caught);
        }
      }
      failing = !ok;
      for (const resolve of waiters) resolve(ok);
    }
    writing = false;
  }

  const storage = {
    // The saved text, or null when there is none. Rejects only when the record
    // exists but cannot be read; saves are then refused.
    async load() {
      try {
        const transaction = (await connect()).transaction(RECORD_STORE, 'readonly');
        const value = await done(transaction, transaction.objectStore(RECORD_STORE).get(RECORD_KEY));
        unread = false;
        return typeof value === 'string' ? value : null;
      } catch (error) {
        unread = true;
        throw error;
      }
    },

    // Resolves true once this text or a later one is written, false if that failed.
    save(text) {
      return new Promise((resolve) => {
        if (next) next.text = String(text);
        else next = { text: String(text), waiters: [] };
        next.waiters.push(resolve);
        if (!writing) drain();
      });
    },

    // Keeps text under a key of its own (record-unreadable-<time>), never the
    // record's. Resolves the key, or null when it could not be kept.
    async keepAside(text) {
      const stamp = new Date().toISOString();
      for (let n = 0; n < 100; n++) {
        const key = `record-unreadable-${stamp}${n ? `-${n}` : ''}`;
        try {
          const transaction = (await connect()).transaction(RECORD_STORE, 'readwrite', { durability: 'strict' });
          transaction.objectStore(RECORD_STORE).add(String(text), key);
          await done(transaction);
          return key;
        } catch (error) {
          if (error?.name !== 'ConstraintError') return null;
        }
      }
      return null;
    },
  };

  // Storage that opens but refuses to write (a full disk, some private windows) is no storage.
  return connect()
    .then(() => write('probe', ''))
    .then(() => storage)
    .catch(() => {
      db?.close();
      db = null;
      return null;
    });
}

self.openRecordStorage = openRecordStorage;
