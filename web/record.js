// The learner's record on the page: read from the browser's storage before the
// program starts, written back after each change, and moved in and out as a
// file from the record screen. The record's text is the core's; this file
// never looks inside it.
'use strict';

// Starts the core with what the browser kept. Returns the keeper the page tells
// after each click or key.
async function startWithRecord(core, today) {
  let storage = null;
  if (typeof openRecordStorage === 'function') {
    storage = await openRecordStorage({ onSaveError: () => core.storageFailed() });
  }
  let stored = '';
  if (storage) {
    try {
      stored = (await storage.load()) ?? '';
    } catch {
      storage = null; // what is there cannot be read: never written over
    }
  }
  const read = core.startWith(today, stored, !!storage);
  if (read === 'unreadable') await storage.keepAside(stored);

  let saved = core.recordChanges();
  let pending = Promise.resolve(true);
  return {
    // After anything the learner did: the record, if it changed.
    changed() {
      const changes = core.recordChanges();
      if (!storage || changes === saved) return;
      saved = changes;
      pending = storage.save(core.recordText());
    },
    // Settles once every save asked for so far has landed (or failed).
    settled: () => pending,
  };
}

// The record as a file: a download to save, a picked file to open. The core
// calls these through the global quilloryFiles.
function fileExchange(core, draw) {
  const input = document.createElement('input');
  input.type = 'file';
  input.accept = '.txt,text/plain';
  input.hidden = true;
  document.body.append(input);
  let limit = 0;
  let waiting = false;
  const answer = (outcome, text = '') => {
    if (!waiting) return;
    waiting = false;
    delete document.documentElement.dataset.fileOpen;
    input.value = '';
    draw(core.fileOpened(outcome, text));
  };
  input.addEventListener('cancel', () => answer('cancelled'));
  input.addEventListener('change', async () => {
    const file = input.files[0];
    if (!file) return answer('cancelled');
    try {
      // One byte past the limit tells the core the file is too long.
      answer('done', await file.slice(0, limit + 1).text());
    } catch {
      answer('failed');
    }
  });
  return {
    save(name, text) {
      try {
        const url = URL.createObjectURL(new Blob([text], { type: 'text/plain;charset=utf-8' }));
        const link = document.createElement('a');
        link.href = url;
        link.download = name;
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(url), 60000);
        return true;
      } catch {
        return false;
      }
    },
    open(max) {
      limit = max;
      waiting = true;
      document.documentElement.dataset.fileOpen = ''; // until the file is read
      input.click();
    },
  };
}
