// Offline use: registers the service worker (sw.js) and tells the learner, with a
// small notice, when a new version has been fetched and is ready.
'use strict';

// Switches to the waiting version and reloads this page into it, if that happens
// within `patience` ms: never a reload the learner did not just ask for.
const quilloryUpdate = (() => {
  let until = 0;
  navigator.serviceWorker?.addEventListener('controllerchange', () => {
    if (Date.now() < until) location.reload();
  });
  return (registration, patience = Infinity) => {
    const waiting = registration.waiting;
    if (!waiting) {
      location.reload(); // another page has already switched to it
      return;
    }
    until = Date.now() + patience;
    waiting.postMessage('skip-waiting');
  };
})();

function quilloryOffline() {
  const workers = navigator.serviceWorker;
  if (!workers || !window.isSecureContext) return;
  workers.register('sw.js').then((registration) => {
    const offer = () => {
      // The first version is not news; only one that replaces a running one is.
      if (registration.waiting && workers.controller) quilloryUpdateNotice(() => quilloryUpdate(registration));
    };
    // A reload while a new version waits takes it, as the notice promises.
    const reloaded = performance.getEntriesByType?.('navigation')[0]?.type === 'reload';
    if (reloaded && registration.waiting && workers.controller) {
      quilloryUpdate(registration, 5000);
      setTimeout(offer, 5000); // still waiting: the notice after all
    } else offer();
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker?.addEventListener('statechange', () => {
        if (worker.state === 'installed') offer();
      });
    });
    // A page left open for days still hears of new versions.
    setInterval(() => registration.update().catch(() => {}), 60 * 60 * 1000);
    addEventListener('online', () => registration.update().catch(() => {}));
  }).catch((error) => console.warn('offline use unavailable:', error));
}

// The notice: non-modal, at the bottom; update now or carry on.
function quilloryUpdateNotice(update) {
  if (document.getElementById('update-notice')) return;
  const notice = document.createElement('div');
  notice.id = 'update-notice';
  notice.setAttribute('role', 'status');
  const text = document.createElement('span');
  text.textContent = '新しい版を用意しました。再読み込みすると使えます。';
  const now = document.createElement('button');
  now.type = 'button';
  now.textContent = '今すぐ更新';
  now.addEventListener('click', () => {
    now.disabled = true;
    update();
  });
  const later = document.createElement('button');
  later.type = 'button';
  later.className = 'later';
  later.textContent = '×';
  later.setAttribute('aria-label', 'あとで');
  later.addEventListener('click', () => notice.remove());
  notice.append(text, now, later);
  // Enter and Esc on these buttons are theirs, not the lesson's.
  notice.addEventListener('keydown', (event) => event.stopPropagation());
  document.body.append(notice);
}
