// The page view: draws the visible screen from the core's state, and passes
// clicks and keys back to the core. Every rule of the program is the core's.
'use strict';

(() => {
  const TWIPS_PER_PIXEL = 15;
  const TITLE_HEIGHT = 20; // the h1 above the screen
  const KEYS_HEIGHT = 18; // the key strip below it
  const stage = document.getElementById('stage');
  const message = document.getElementById('message');
  let core = null;
  let ready = false; // the core has started: clicks and keys go to it
  const waiting = []; // what the learner did before that, in order
  let keeper = null; // the learner's record in the browser's storage
  let state = null;
  const windows = new Map(); // screen name -> {box, screen, title, strip, controls}
  let shown = null;

  function say(text) {
    for (const win of windows.values()) win.box.hidden = true;
    message.textContent = text;
    message.hidden = false;
    stage.removeAttribute('aria-busy');
  }

  function rgb(colour) {
    return `rgb(${colour[0]}, ${colour[1]}, ${colour[2]})`;
  }

  function px(twips) {
    return `${twips / TWIPS_PER_PIXEL}px`;
  }

  // The scripts name pictures as NAME.bmp; the site has NAME.svg.
  function pictureSource(file) {
    return `pictures/${file.replace(/\.bmp$/i, '')}.svg`;
  }

  // A caption as a screen reader hears it: no spaces at the ends, one space for
  // a run inside, none between two wide characters.
  function withoutPadding(text) {
    const wide = (c) => c.charCodeAt(0) >= 0x2e80;
    let out = '';
    for (const word of text.split(/\s+/)) {
      if (!word) continue;
      if (out && !(wide(out.at(-1)) && wide(word))) out += ' ';
      out += word;
    }
    return out;
  }

  // The menu's figures as data attributes, for the driver.
  function figures(element, control) {
    if (control.addition) element.dataset.addition = ''; else delete element.dataset.addition;
    if (control.progress) {
      const { reached, last, finished, firstTryRight, firstTryAsked } = control.progress;
      element.dataset.progress = JSON.stringify({ reached, last, finished, firstTryRight, firstTryAsked });
    } else delete element.dataset.progress;
    if (control.due !== undefined) element.dataset.due = String(control.due); else delete element.dataset.due;
  }

  // 「▼ 続き」 at the text box's lower right while it holds more than it shows.
  function moreMarker(text) {
    const more = document.createElement('button');
    more.type = 'button';
    more.className = 'more';
    more.textContent = '▼ 続き';
    more.setAttribute('aria-label', '続き');
    more.title = '続きを表示（Page Down または ↓）';
    more.tabIndex = -1;
    more.hidden = true;
    more.addEventListener('click', () => scrollPage(text, 1));
    return more;
  }

  function moreBelow(text) {
    return !text.hidden && text.scrollTop + text.clientHeight < text.scrollHeight - 1;
  }

  function updateMore(text) {
    const more = text.more;
    if (!more) return;
    more.hidden = !moreBelow(text);
    more.style.left = `${text.offsetLeft + text.offsetWidth - 3}px`;
    more.style.top = `${text.offsetTop + text.offsetHeight - 3}px`;
  }

  // A page is what the box shows, less a line kept for context.
  function scrollPage(text, pages) {
    const full = text.querySelector('.line:not(.empty)');
    const line = (full && parseFloat(getComputedStyle(full).lineHeight)) || 15;
    text.scrollTop += pages * Math.max(line, text.clientHeight - line);
    updateMore(text);
  }

  function describe(element) {
    const file = element.dataset.file || '';
    let name = '絵';
    let description = '';
    // A picture that did not load keeps its frame, with the file's name in it.
    let shown = name;
    if (file && element.classList.contains('missing')) {
      name = '絵（表示できません）';
      description = `絵のファイル ${file} を表示できません。`;
      shown = file;
    } else if (file) {
      // What the picture shows, as the core describes it.
      name = element.dataset.pictureName || '絵';
      description = element.dataset.pictureDescription || '';
      shown = name;
    }
    element.alt = shown;
    element.setAttribute('aria-label', name);
    element.setAttribute('aria-description', description);
  }

  // The text as the desktop's box lays it out: one block a line, a line without
  // text on a lower step (see .text in style.css). The line breaks between blocks
  // stay in the text, where layout ignores them.
  function showLines(element, text) {
    const blocks = [];
    for (const line of text.split('\n')) {
      if (blocks.length) blocks.push('\n');
      const block = document.createElement('div');
      block.className = line ? 'line' : 'line empty';
      // The word-order markers ｱ to ｷ as tags, so that ｱ does not read as 7.
      for (const part of line.split(/([\uff71-\uff77])/)) {
        if (!part) continue;
        if (/^[\uff71-\uff77]$/.test(part)) {
          const tag = document.createElement('span');
          tag.className = 'marker';
          tag.textContent = part;
          block.append(tag);
        } else block.append(part);
      }
      blocks.push(block);
    }
    element.replaceChildren(...blocks);
  }

  function makeControl(control) {
    let element;
    switch (control.kind) {
      case 'button':
        element = document.createElement('button');
        element.type = 'button';
        element.addEventListener('click', () => send(() => core.click(control.name)));
        break;
      case 'text':
        element = document.createElement('div');
        element.className = 'text';
        element.tabIndex = 0;
        element.setAttribute('role', 'log');
        element.setAttribute('aria-live', 'polite');
        element.more = moreMarker(element);
        element.addEventListener('scroll', () => updateMore(element));
        break;
      case 'label':
        element = document.createElement('div');
        element.className = 'label';
        break;
      case 'picture':
        element = document.createElement('img');
        element.className = 'picture';
        element.alt = '';
        element.addEventListener('error', () => {
          element.classList.add('missing');
          describe(element);
        });
        element.addEventListener('load', () => {
          element.classList.remove('missing');
          describe(element);
        });
        element.addEventListener('click', () => enlarge(element));
        break;
    }
    element.classList.add('control');
    element.dataset.name = control.name;
    element.style.left = px(control.left);
    element.style.top = px(control.top);
    element.style.width = px(control.width);
    element.style.height = px(control.height);
    return element;
  }

  function updateControl(element, control, screenName) {
    element.hidden = !control.visible;
    element.style.left = px(control.left);
    element.style.top = px(control.top);
    element.style.width = px(control.width);
    element.style.height = px(control.height);
    const page = control.page || {};
    figures(element, control);
    switch (control.kind) {
      case 'button': {
        if (element.dataset.caption !== control.caption) {
          element.dataset.caption = control.caption;
          element.textContent = control.caption;
          element.setAttribute('aria-label', withoutPadding(control.caption));
        }
        element.classList.toggle('live', !!control.live);
        element.classList.toggle('left', screenName === 'Form20');
        const keys = page.keys || [];
        const hint = [keys.length ? `キー：${keys.map(keyLabel).join('、')}` : '', page.summary || '']
          .filter(Boolean).join('\n');
        if (hint) element.title = hint; else element.removeAttribute('title');
        if (control.progress) {
          const p = control.progress;
          let bar = element.querySelector('.progress');
          if (!bar) {
            bar = document.createElement('span');
            bar.className = 'progress';
            bar.append(document.createElement('span'));
            element.append(bar);
          }
          bar.classList.toggle('finished', p.finished);
          bar.firstChild.style.width = `${p.last ? Math.min(100, (100 * p.reached) / p.last) : 0}%`;
        }
        break;
      }
      case 'text': {
        const text = control.text.replace(/\r\n?/g, '\n');
        if (element.textContent !== text) {
          showLines(element, text);
          element.scrollTop = 0;
        }
        element.classList.toggle('scroll', !!control.scrollbar);
        element.classList.toggle('dense', page.role === '説明');
        if (page.role) element.setAttribute('aria-label', page.role);
        if (page.background) element.style.background = rgb(page.background);
        break;
      }
      case 'label':
        element.textContent = control.text;
        // As on the desktop: centred unless spaces pad it, then from its left edge.
        element.classList.toggle('padded', /\s/.test(control.text));
        element.setAttribute('aria-label', withoutPadding(control.text));
        element.style.background = rgb(control.background);
        break;
      case 'picture': {
        const loads = String(page.loads ?? 0);
        if (!control.file) {
          element.removeAttribute('src');
          element.dataset.file = '';
        } else if (element.dataset.loads !== loads || element.dataset.file !== control.file) {
          element.dataset.file = control.file;
          element.classList.remove('missing');
          element.src = pictureSource(control.file);
        }
        element.dataset.loads = loads;
        element.dataset.pictureName = page.name ?? '';
        element.dataset.pictureDescription = page.description ?? '';
        describe(element);
        break;
      }
    }
  }

  function keyLabel(key) {
    return key === 'Return' ? 'Enter' : key === 'Escape' ? 'Esc' : key;
  }

  function keyStrip(current) {
    const keys = new Set();
    for (const control of current.controls) for (const key of control.page?.keys || []) keys.add(key);
    const parts = [];
    if (keys.has('Return')) parts.push('Enter：次へ');
    if (['1', '2', '3', '4', '5'].some((k) => keys.has(k))) parts.push('１～５：答える');
    if (hasConversation(current)) parts.push('H：履歴', 'R：読み上げ');
    if (keys.has('Escape')) parts.push('Esc：戻る');
    return parts.join('　');
  }

  function hasConversation(current) {
    return current.controls.some((c) => c.kind === 'text' && c.name === 'T1');
  }

  function windowFor(current) {
    let win = windows.get(current.screen);
    if (win) return win;
    const box = document.createElement('section');
    box.className = 'window';
    box.dataset.screen = current.screen;
    box.hidden = true;
    const title = document.createElement('h1');
    const screen = document.createElement('div');
    screen.className = 'screen';
    const strip = document.createElement('div');
    strip.className = 'keys';
    strip.setAttribute('aria-hidden', 'true');
    box.append(title, screen, strip);
    stage.append(box);
    win = { box, screen, title, strip, controls: new Map() };
    windows.set(current.screen, win);
    return win;
  }

  function draw(current) {
    state = current;
    if (current.ended) {
      for (const win of windows.values()) win.box.hidden = true;
      shown = null;
      say('Quillory を終了しました。ページを再読み込みすると最初から始まります。');
      return;
    }
    message.hidden = true;
    const win = windowFor(current);
    win.title.textContent = current.caption;
    if (current.step === null || current.step === undefined) delete win.box.dataset.step;
    else win.box.dataset.step = String(current.step);
    document.title = current.caption.trim() || 'Quillory';
    win.screen.style.width = px(current.width);
    win.screen.style.height = px(current.height);
    win.screen.style.background = rgb(current.background);
    for (const control of current.controls) {
      let element = win.controls.get(control.name);
      if (!element) {
        element = makeControl(control);
        win.controls.set(control.name, element);
        win.screen.append(element);
        if (element.more) win.screen.append(element.more);
      }
      updateControl(element, control, current.screen);
    }
    win.strip.textContent = keyStrip(current);
    if (shown !== win) {
      if (shown) shown.box.hidden = true;
      win.box.hidden = false;
      shown = win;
      stopReading();
    }
    fit();
    for (const element of win.controls.values()) updateMore(element);
  }

  // The screen scaled to fit the window, centred.
  function fit() {
    if (!shown || !state || state.ended) return;
    const width = state.width / TWIPS_PER_PIXEL;
    const height = state.height / TWIPS_PER_PIXEL + TITLE_HEIGHT + KEYS_HEIGHT;
    const margin = 8;
    const scale = Math.max(0.1, Math.min((innerWidth - 2 * margin) / width,
      (innerHeight - 2 * margin) / height));
    const left = (innerWidth - width * scale) / 2;
    const top = (innerHeight - height * scale) / 2;
    shown.box.style.width = `${width}px`;
    shown.box.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
  }

  // A click or key for the core, kept until the core has started.
  function send(action) {
    if (ready) act(action());
    else waiting.push(action);
  }

  function act(line) {
    const result = JSON.parse(line);
    if (result.error) {
      console.warn(result.error);
      return;
    }
    closeOverlay();
    draw(result);
    keeper?.changed();
  }

  // Overlays: a picture enlarged, the conversation's history.
  let overlay = null;
  let overlayReturn = null;

  function openOverlay(content) {
    closeOverlay();
    overlayReturn = document.activeElement;
    overlay = document.createElement('div');
    overlay.className = 'overlay';
    overlay.setAttribute('role', 'dialog');
    overlay.setAttribute('aria-modal', 'true');
    overlay.tabIndex = -1;
    overlay.append(content);
    overlay.addEventListener('click', closeOverlay);
    document.body.append(overlay);
    overlay.focus();
  }

  function closeOverlay() {
    if (!overlay) return false;
    overlay.remove();
    overlay = null;
    if (overlayReturn && overlayReturn.focus) overlayReturn.focus();
    overlayReturn = null;
    return true;
  }

  function enlarge(picture) {
    if (!picture.src || picture.classList.contains('missing')) return;
    const big = document.createElement('img');
    big.src = picture.src;
    big.alt = picture.alt;
    openOverlay(big);
  }

  function showHistory() {
    const panel = document.createElement('div');
    panel.className = 'history';
    const heading = document.createElement('h2');
    heading.textContent = '会話の履歴';
    const list = document.createElement('dl');
    for (const said of JSON.parse(core.history())) {
      const who = document.createElement('dt');
      who.textContent = said.who;
      const text = document.createElement('dd');
      text.textContent = said.text.replace(/\r\n?/g, '\n').replace(/\n{2,}/g, '\n').trim();
      list.append(who, text);
    }
    panel.append(heading, list);
    openOverlay(panel);
    panel.lastChild.lastChild?.scrollIntoView({ block: 'end' });
  }

  // Reading aloud: the core picks the English, the browser's voice says it.
  function stopReading() {
    if ('speechSynthesis' in window) speechSynthesis.cancel();
  }

  function readAloud() {
    if (!('speechSynthesis' in window)) return;
    if (speechSynthesis.speaking) {
      stopReading();
      return;
    }
    const voice = speechSynthesis.getVoices().find((v) => v.lang.startsWith('en'));
    for (const text of JSON.parse(core.readAloud())) {
      const utterance = new SpeechSynthesisUtterance(text);
      utterance.lang = voice ? voice.lang : 'en-US';
      if (voice) utterance.voice = voice;
      speechSynthesis.speak(utterance);
    }
  }

  // Keys as on the desktop: the core's for digits, Return and Escape.
  const coreKeys = { Enter: 'Return', Escape: 'Escape', 1: '1', 2: '2', 3: '3', 4: '4', 5: '5' };

  document.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    if (overlay) {
      if (event.key === 'Escape' || event.key === 'h' || event.key === 'H') {
        event.preventDefault();
        closeOverlay();
      }
      return;
    }
    if (!state || state.ended) return;
    const scroll = { PageDown: 1, ArrowDown: 1, PageUp: -1, ArrowUp: -1 }[event.key];
    if (scroll && !event.shiftKey) {
      const text = [...(shown?.controls.values() || [])].find((e) => e.more && !e.hidden
        && e.scrollHeight > e.clientHeight);
      if (text) {
        event.preventDefault();
        scrollPage(text, scroll);
      }
      return;
    }
    const name = coreKeys[event.key];
    if (name) {
      event.preventDefault();
      send(() => core.key(name));
    } else if (!ready) {
      // The rest waits for the core.
    } else if ((event.key === 'r' || event.key === 'R') && hasConversation(state)) {
      event.preventDefault();
      readAloud();
    } else if ((event.key === 'h' || event.key === 'H') && hasConversation(state)) {
      event.preventDefault();
      showHistory();
    }
  });

  addEventListener('resize', () => {
    fit();
    for (const element of shown?.controls.values() || []) updateMore(element);
  });

  // The menu reads every lesson's script when first shown: build them one at a
  // time while the title waits for the learner, each between frames.
  function prepareAhead() {
    let next = 0;
    const later = window.requestIdleCallback
      ? (step) => requestIdleCallback(step, { timeout: 100 }) : (step) => setTimeout(step, 1);
    const step = () => {
      if (core.prepare(next++)) later(step);
      else stage.dataset.prepared = '';
    };
    later(step);
  }

  const FIRST_STATE = null; // the build puts the title's state here

  async function main() {
    // The title as the core drew it when the site was built, at once; what the
    // learner does meanwhile waits for the core.
    const first = typeof WebAssembly === 'object' && FIRST_STATE;
    if (first) {
      draw(first);
      shown?.box.querySelector('button.live:not([hidden])')?.focus();
    }
    // The core's script and the record's come after the page.
    if (document.readyState === 'loading') {
      await new Promise((resolve) => document.addEventListener('DOMContentLoaded', resolve, { once: true }));
    }
    if (typeof WebAssembly !== 'object' || typeof createQuillory !== 'function') {
      say('このブラウザーでは Quillory を使えません。新しいブラウザー（Chrome、Edge、Safari、Firefox）でお試しください。');
      return;
    }
    try {
      core = await createQuillory();
    } catch (error) {
      console.error(error);
      say('Quillory を読み込めませんでした。ページを再読み込みしてください。');
      return;
    }
    // ?today=YYYY-MM-DD: the date the review schedule takes as today.
    const today = new URLSearchParams(location.search).get('today') ?? '';
    self.quilloryFiles = fileExchange(core, act);
    keeper = await startWithRecord(core, today);
    // The driver waits on this before it reloads the page.
    self.quilloryRecordSaved = () => keeper.settled();
    prepareAhead();
    draw(JSON.parse(core.state()));
    ready = true;
    stage.removeAttribute('aria-busy');
    if (!first) shown?.box.querySelector('button.live:not([hidden])')?.focus();
    for (const action of waiting.splice(0)) act(action());
    if (typeof quilloryOffline === 'function') quilloryOffline(); // install.js
  }

  main();
})();
