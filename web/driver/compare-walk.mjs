// Replays the recorded walk (or its first COUNT commands) through the web driver
// and compares every state line with the desktop driver's, field by field. Exits 0
// only when every line matches. Run after tools/web-build.sh:
//   node web/driver/compare-walk.mjs [COUNT]
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gunzipSync } from 'node:zlib';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const args = process.argv.slice(2);
const countArg = args[0];
if (args.length > 1 || (countArg !== undefined && !/^\d+$/.test(countArg))) {
  console.error('usage: compare-walk.mjs [COUNT]');
  process.exit(2);
}
const all = readFileSync(path.join(root, 'tests/walk/commands.txt'), 'utf8')
  .split('\n').filter((l) => l.trim() && !l.startsWith('#'));
const commands = countArg === undefined ? all : all.slice(0, Number(countArg));
const expected = gunzipSync(readFileSync(path.join(root, 'tests/walk/expected.jsonl.gz')))
  .toString('utf8').split('\n').filter(Boolean);

// The fields of one line that differ, as kind.field (or the state's own field).
function differences(want, got) {
  const found = [];
  for (const key of new Set([...Object.keys(want), ...Object.keys(got)])) {
    if (key === 'controls') continue;
    if (JSON.stringify(want[key]) !== JSON.stringify(got[key])) {
      found.push(key);
    }
  }
  const mine = new Map((got.controls ?? []).map((c) => [c.name, c]));
  const theirs = new Set((want.controls ?? []).map((c) => c.name));
  for (const control of want.controls ?? []) {
    const other = mine.get(control.name);
    if (!other) { found.push('control missing'); continue; }
    for (const key of new Set([...Object.keys(control), ...Object.keys(other)])) {
      if (JSON.stringify(control[key]) !== JSON.stringify(other[key])) {
        found.push(`${control.kind}.${key}`);
      }
    }
  }
  for (const name of mine.keys()) {
    if (!theirs.has(name)) found.push('control extra');
  }
  if (JSON.stringify(want.controls?.map((c) => c.name)) !== JSON.stringify(got.controls?.map((c) => c.name))) {
    found.push('control order');
  }
  return [...new Set(found)];
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
let shown = 0;
const tally = {};
commands.forEach((command, i) => {
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
  else if (shown++ < 5) {
    console.log(`line ${i + 1}: ${command}   (${found.join(', ')})\n  desktop: ${JSON.stringify(want).slice(0, 600)}`
      + `\n  web:     ${JSON.stringify(got).slice(0, 600)}`);
  }
});
console.log(`${same} of ${commands.length} lines match the desktop driver's, in ${((Date.now() - started) / 1000).toFixed(1)} s`);
if (Object.keys(tally).length) {
  console.log('lines with a field that differs:');
  for (const [field, n] of Object.entries(tally).sort((a, b) => b[1] - a[1])) console.log(`  ${field}: ${n}`);
}
const ok = status === 0 && lines.length === commands.length && same === commands.length;
process.exit(ok ? 0 : 1);
