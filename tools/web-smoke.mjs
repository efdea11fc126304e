// Loads the built core and plays the title, the menu and the first lesson's first
// turns, printing each state line. With --walk, replays the recorded walk through
// every screen instead and compares each line with the desktop driver's, leaving
// out what only the page can measure. Run by hand after tools/web-build.sh:
//   node tools/web-smoke.mjs [--walk] [SITE]
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gunzipSync } from 'node:zlib';

const args = process.argv.slice(2);
const walk = args.includes('--walk');
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const site = path.resolve(args.find((a) => !a.startsWith('--')) ?? path.join(root, 'build-web/site'));
const createQuillory = createRequire(import.meta.url)(path.join(site, 'quillory.js'));
// Node's fetch takes no bare paths: the module gets its code handed over.
const core = await createQuillory({ wasmBinary: readFileSync(path.join(site, 'quillory.wasm')) });

// One driver command, as the desktop driver runs it.
function run(line, today) {
  const [command, argument] = line.trim().split(/\s+/, 2);
  switch (command) {
    case 'click': return core.click(argument);
    case 'key': return core.key(argument);
    case 'dump': return core.state();
    case 'restart': core.startOn(today); return core.state();
    default: return JSON.stringify({ error: `unknown command: ${command}` });
  }
}

// A state line without what the page measures and the page's own fields.
const pageOnly = ['fits', 'accessibleName', 'accessibleDescription', 'loaded', 'page'];
function comparable(line) {
  const state = JSON.parse(line);
  for (const control of state.controls ?? []) for (const field of pageOnly) delete control[field];
  return JSON.stringify(state);
}

if (walk) {
  const today = '2026-01-15';
  const commands = readFileSync(path.join(root, 'tests/walk/commands.txt'), 'utf8')
    .split('\n').filter((l) => l.trim() && !l.startsWith('#'));
  const expected = gunzipSync(readFileSync(path.join(root, 'tests/walk/expected.jsonl.gz')))
    .toString('utf8').split('\n').filter(Boolean);
  core.startOn(today);
  let differ = 0;
  commands.forEach((command, i) => {
    const got = comparable(run(command, today));
    const want = comparable(expected[i]);
    if (got !== want && ++differ <= 5) {
      console.log(`line ${i + 1}: ${command}\n  desktop: ${want}\n  web:     ${got}`);
    }
  });
  console.log(`${commands.length - differ} of ${commands.length} lines as the desktop driver's`);
  process.exit(differ ? 1 : 0);
}

core.start();
console.log('> start');
console.log(core.state());
for (const command of ['key Return', 'click C2', 'click Command4', 'key Return', 'key Return',
  'key Return', 'key 3', 'key Return']) {
  console.log(`> ${command}`);
  console.log(run(command, ''));
}
console.log('> readAloud');
console.log(core.readAloud());
console.log('> history');
console.log(core.history());
console.log('> key Escape');
console.log(run('key Escape', ''));
