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
  let keeper = null; // the learner's record in the browser's storage
  let state = null;
  const windows = new Map(); // screen name -> {box, screen, title, strip, controls}
  let shown = null;

  function say(text) {
    message.textContent = text;
    message.hidden = false;
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
    const line = parseFloat(getComputedStyle(text).lineHeight) || 15;
    text.scrollTop += pages * Math.max(line, text.clientHeight - line);
    updateMore(text);
  }

  // Each picture's name and description, as a screen reader gives them.
  const pictureTexts = {
    "gal1.bmp": [
    "森岡　ハナ先生",
    "先生の絵：森岡　ハナ先生。５文型と仮定法を教える先生です。"
    ],
    "gal2.bmp": [
    "辻　真弓先生",
    "先生の絵：辻　真弓先生。形容詞句・形容詞節・副詞句・副詞節の先生です。"
    ],
    "gal3.bmp": [
    "浜田　和代先生",
    "先生の絵：浜田　和代先生。名詞句・名詞節・分詞構文の先生です。"
    ],
    "go.bmp": [
    "黒板：存在の be 動詞と go",
    "黒板：He is in this room. と I go to school. を並べ、主語・動詞・前置詞＋名詞を示した図。"
    ],
    "see.bmp": [
    "黒板：look at と see",
    "黒板：I looked at her. と I saw her. を並べ、at の有無を比べた図。"
    ],
    "adv.bmp": [
    "黒板：副詞",
    "黒板：副詞の一覧。home, yesterday, sometimes, there, here, before など。"
    ],
    "OO.bmp": [
    "黒板：目的語が２つの文",
    "黒板：S V O O の例文。１つ目の O は人、２つ目の O は物。"
    ],
    "OOV.bmp": [
    "黒板：目的語を２つとる動詞",
    "黒板：「（人）に（物）を～」の形をとる動詞の一覧。give, teach, show, buy, make, ask など。"
    ],
    "bunkei.bmp": [
    "黒板：文型のまとめ",
    "黒板：第１文型から第４文型までの形と、それぞれをとる動詞。"
    ],
    "who.bmp": [
    "黒板：「この絵を描いた少女」",
    "黒板：「この絵を描いた少女」を関係代名詞 who で英語にする３つの手順。"
    ],
    "kandai.bmp": [
    "黒板：関係代名詞の格",
    "黒板：who（主格）、whose（所有格）、whom（目的格）の例と、節の中の主語と動詞。"
    ],
    "Nara.bmp": [
    "黒板：Nara is the city which I live.",
    "黒板：誤りのある文 Nara is the city which I live. と、問われている which。"
    ],
    "Nara2.bmp": [
    "黒板：Nara is the city which I live in.",
    "黒板：正しい文 Nara is the city which I live in. 。加えた in が which を目的語にとる。"
    ],
    "Nara3.bmp": [
    "黒板：正しくない文はどれ",
    "黒板：１から４までの番号つきの４つの文。このうち正しくない文を選ぶ問題。"
    ],
    "inwh.bmp": [
    "黒板：前置詞＋関係代名詞",
    "黒板：Osaka is the city in which I was born. の in which が前置詞＋関係代名詞。"
    ],
    "where.bmp": [
    "黒板：関係副詞 where",
    "黒板：in which の文の下に Osaka is the city where I was born. 。where は関係副詞。"
    ],
    "kanfu.bmp": [
    "黒板：４つの関係副詞",
    "黒板：関係副詞 when, where, why, how と先行詞、例文の表。"
    ],
    "tadou.bmp": [
    "黒板：他動詞の４つの種類",
    "黒板：to 不定詞と動名詞のどちらを目的語にとるかで分けた他動詞の４つのグループ。"
    ],
    "fuku1.bmp": [
    "黒板：副詞の働き",
    "黒板：I saw him yesterday. と I saw him when I walked in the park. 。どちらも saw を修飾する。"
    ],
    "fuku2.bmp": [
    "黒板：副詞節の作り方",
    "黒板：接続詞 when と文 I walked in the park. を合わせて副詞節を作る図。"
    ],
    "setu1.bmp": [
    "黒板：時と条件の接続詞",
    "黒板：＜時＞と＜条件＞を表す接続詞と、その意味。"
    ],
    "setu2.bmp": [
    "黒板：原因・理由と目的の接続詞",
    "黒板：＜原因・理由＞と＜目的＞を表す接続詞と、その意味。"
    ],
    "setu3.bmp": [
    "黒板：譲歩と範囲の接続詞",
    "黒板：＜譲歩＞と＜範囲＞を表す接続詞と、その意味。"
    ],
    "if.bmp": [
    "黒板：仮定法",
    "黒板：If he is honest, I will employ him. と If he were honest, I would employ him. を比べた図。"
    ],
    "bun0.bmp": [
    "まな板：本日の材料",
    "まな板の上の材料の文 When she saw me, she ran away. 。When は従属接続詞。"
    ],
    "bun1.bmp": [
    "まな板：接続詞を切る",
    "When を切り落とし、she saw me, she ran away. が残った図。"
    ],
    "bun2.bmp": [
    "まな板：主語を切る",
    "従属節の主語 she も切り落とし、saw me, she ran away. が残った図。"
    ],
    "bun3.bmp": [
    "まな板：動詞を ～ing 形に",
    "saw を seeing にして、seeing me, she ran away. になった図。"
    ],
    "bun4.bmp": [
    "黒板：分詞構文のレシピ",
    "黒板：「分詞構文」のレシピ。用意するものと３つの手順。"
    ],
    "bun5.bmp": [
    "黒板：分詞構文の５つのポイント",
    "黒板：分詞構文で気をつける５つの点。"
    ],
    "roujin.bmp": [
    "老婆",
    "ゲームの場面：道の入り口で主人公の前に立つ、謎めいた老婆。"
    ],
    "help.bmp": [
    "助けを求める少年",
    "ゲームの場面：道の上で「助けてくれ」と叫ぶ、田舎の小さな少年。"
    ],
    "ane.bmp": [
    "姉の写真",
    "ゲームの場面：少年がかかげる、美しい若い女性の写真。"
    ],
    "hashi.bmp": [
    "橋",
    "ゲームの場面：夕暮れの霧の中、暗い向こう岸へ続く川の橋。"
    ],
    "chika.bmp": [
    "想像の世界",
    "ゲームの場面：ゆがんだ形と不思議な色の閉ざされた場所。奥に扉がある。"
    ],
    "ane5.bmp": [
    "怪物の手下",
    "ゲームの場面：扉の向こうの部屋に立つ、召使いの服の若い女。"
    ],
    "mizu0.bmp": [
    "閉じこめられた部屋",
    "ゲームの場面：出口のない部屋。床はまだ乾いていて、壁に穴がある。"
    ],
    "mizu2.bmp": [
    "水の増える部屋",
    "ゲームの場面：閉じこめられた部屋の床に、水がたまり始めた。"
    ],
    "mizu3.bmp": [
    "水の増える部屋",
    "ゲームの場面：部屋の水がひざの高さまで来た。"
    ],
    "mizu4.bmp": [
    "水の増える部屋",
    "ゲームの場面：部屋の水が腰の高さまで来た。"
    ],
    "mizu5.bmp": [
    "水の増える部屋",
    "ゲームの場面：部屋の水が胸の高さまで来た。"
    ],
    "mizu6.bmp": [
    "水の増える部屋",
    "ゲームの場面：部屋の水が首の高さまで来た。"
    ],
    "ane3.bmp": [
    "道案内の少女",
    "ゲームの場面：目を覚ました主人公をのぞきこむ少女。遠くの山の上に建物が見える。"
    ],
    "ane4.bmp": [
    "門番",
    "ゲームの場面：山の上の建物の扉をふさぐ、武器を持った門番。"
    ],
    "ane32.bmp": [
    "道案内の少女",
    "ゲームの場面：薄暗い広間で冷たくほほえむ、道案内の少女。"
    ],
    "mon.bmp": [
    "怪物",
    "ゲームの場面：広間に現れた、怪物の本当の姿。"
    ],
    "mon0.bmp": [
    "倒れた怪物",
    "ゲームの場面：広間で倒され、つぶれた怪物。"
    ],
    "aaa.bmp": [
    "気を失った主人公の見るもの",
    "ゲームの場面：気を失った主人公の目に映る、ぼやけた暗がり。"
    ],
    "over.bmp": [
    "ゲームオーバー",
    "ゲームオーバーの絵。"
    ]
    };

  function describe(element) {
    const file = element.dataset.file || '';
    let name = '絵';
    let description = '';
    if (file && element.classList.contains('missing')) {
      name = '絵（表示できません）';
      description = `絵のファイル ${file} を表示できません。`;
    } else if (file) {
      [name, description] = pictureTexts[file] || [file, ''];
    }
    element.alt = name;
    element.setAttribute('aria-label', name);
    element.setAttribute('aria-description', description);
  }

  function pictureFrame(element, name, failed) {
    element.classList.toggle('missing', failed);
    if (failed) element.dataset.name = name;
  }

  function makeControl(control) {
    let element;
    switch (control.kind) {
      case 'button':
        element = document.createElement('button');
        element.type = 'button';
        element.addEventListener('click', () => act(core.click(control.name)));
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
          element.textContent = text;
          element.scrollTop = 0;
        }
        element.classList.toggle('scroll', !!control.scrollbar);
        if (page.role) element.setAttribute('aria-label', page.role);
        if (page.background) element.style.background = rgb(page.background);
        break;
      }
      case 'label':
        element.textContent = control.text;
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
    if (!core || event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
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
      act(core.key(name));
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

  async function main() {
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
    stage.removeAttribute('aria-busy');
    draw(JSON.parse(core.state()));
    shown?.box.querySelector('button.live:not([hidden])')?.focus();
  }

  main();
})();
