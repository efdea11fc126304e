// Replays the recorded walk (or its first COUNT commands) through the web driver
// and compares every state line with the desktop driver's, field by field. Exits 0
// only when every line matches. Run after tools/web-build.sh:
//   node web/driver/compare-walk.mjs [COUNT] [--allow-record-after-restart]
// --allow-record-after-restart: the page does not keep the learner's record over a
// reload yet, so after a `restart` the menu's `progress` and `due` and the review and
// record screens may differ; such lines are counted apart and do not fail the run.
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gunzipSync } from 'node:zlib';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const args = process.argv.slice(2);
const allowRecord = args.includes('--allow-record-after-restart');
const countArg = args.find((a) => !a.startsWith('--'));
if (args.some((a) => a.startsWith('--') && a !== '--allow-record-after-restart')
  || (countArg !== undefined && !/^\d+$/.test(countArg))) {
  console.error('usage: compare-walk.mjs [COUNT] [--allow-record-after-restart]');
  process.exit(2);
}
const all = readFileSync(path.join(root, 'tests/walk/commands.txt'), 'utf8')
  .split('\n').filter((l) => l.trim() && !l.startsWith('#'));
const commands = countArg === undefined ? all : all.slice(0, Number(countArg));
const expected = gunzipSync(readFileSync(path.join(root, 'tests/walk/expected.jsonl.gz')))
  .toString('utf8').split('\n').filter(Boolean);

// What the page cannot keep over a reload yet: the record, behind the menu's figures
// (every lesson's progress, the review button with its count) and everything on
// the review and record screens.
const recordFields = new Set(['button.progress', 'button.due']);
const recordControls = new Set(['Review']);
const recordScreens = new Set(['Review', 'Record']);
const onlyRecord = (want, got, found) => want.screen === got.screen
  && (recordScreens.has(want.screen) || !found.other);

// The fields of one line that differ, as kind.field (or the state's own field);
// `other` when one of them is not the record's.
function differences(want, got) {
  const found = [];
  found.other = false;
  for (const key of new Set([...Object.keys(want), ...Object.keys(got)])) {
    if (key === 'controls') continue;
    if (JSON.stringify(want[key]) !== JSON.stringify(got[key])) {
      found.push(key);
      found.other = true;
    }
  }
  const mine = new Map((got.controls ?? []).map((c) => [c.name, c]));
  const theirs = new Set((want.controls ?? []).map((c) => c.name));
  for (const control of want.controls ?? []) {
    const other = mine.get(control.name);
    if (!other) { found.push('control missing'); found.other = true; continue; }
    for (const key of new Set([...Object.keys(control), ...Object.keys(other)])) {
      if (JSON.stringify(control[key]) !== JSON.stringify(other[key])) {
        found.push(`${control.kind}.${key}`);
        if (!recordFields.has(`${control.kind}.${key}`) && !recordControls.has(control.name)) found.other = true;
      }
    }
  }
  for (const name of mine.keys()) {
    if (!theirs.has(name)) { found.push('control extra'); found.other = true; }
  }
  if (JSON.stringify(want.controls?.map((c) => c.name)) !== JSON.stringify(got.controls?.map((c) => c.name))) {
    found.push('control order');
    found.other = true;
  }
  const unique = [...new Set(found)];
  unique.other = found.other;
  return unique;
}

const started = Date.now();
const driver = spawn(process.execPath, [path.join(root, 'web/driver/replay.mjs'), '--today', '2026-01-15'],
  { stdio: ['pipe', 'pipe', 'inherit'] });
driver.stdin.end(commands.join('\n') + '\n');
let output = '';
driver.stdout.setEncoding('utf8');
driver.stdout.on('data', (chunk) => { output += chunk; });
const status = await new Promise((resolve) => driver.on('close', resolve));
const lines = output.split('\n').filter(Boolean);

let same = 0;
let known = 0;
let shown = 0;
let restarted = false;
const tally = {};
commands.forEach((command, i) => {
  if (command.trim() === 'restart') restarted = true;
  const want = JSON.parse(expected[i]);
  let got;
  try {
    got = lines[i] ? JSON.parse(lines[i]) : { error: 'no line' };
  } catch {
    got = { error: `not JSON: ${lines[i]}` };
  }
  const found = differences(want, got);
  for (const field of found) tally[field] = (tally[field] ?? 0) + 1;
  if (found.length === 0) same++;
  else if (restarted && onlyRecord(want, got, found)) known++;
  else if (shown++ < 5) {
    console.log(`line ${i + 1}: ${command}   (${found.join(', ')})\n  desktop: ${JSON.stringify(want).slice(0, 600)}`
      + `\n  web:     ${JSON.stringify(got).slice(0, 600)}`);
  }
});
const other = commands.length - same - known;
console.log(`${same} of ${commands.length} lines match; ${known} differ only in the record after a restart`
  + ` (menu figures, review, record); ${other} differ otherwise. ${((Date.now() - started) / 1000).toFixed(1)} s`);
if (Object.keys(tally).length) {
  console.log('lines with a field that differs:');
  for (const [field, n] of Object.entries(tally).sort((a, b) => b[1] - a[1])) console.log(`  ${field}: ${n}`);
}
const ok = status === 0 && lines.length === commands.length && other === 0 && (known === 0 || allowRecord);
process.exit(ok ? 0 : 1);
