// Writes the page as one file: index.html with kelp4090.js inside it and
// kelp4090.wasm beside the script in base64, so that it runs opened from a
// disk, with no server to fetch the program from.
// Usage: node inline_page.mjs PAGE SCRIPT WASM OUT
import fs from 'node:fs';

const [page, script, wasm, out] = process.argv.slice(2);
const tag = '<script src="kelp4090.js"></script>';

function fail(text) {
  console.error(`inline_page: ${text}`);
  process.exit(1);
}

const html = fs.readFileSync(page, 'utf8');
if (html.split(tag).length !== 2) fail(`${page} should load the script once, as ${tag}`);
const code = fs.readFileSync(script, 'utf8');
// Either would end or confuse the script element the code goes into.
if (/<\/script|<!--/i.test(code)) fail(`${script} holds '</script' or '<!--'`);
const program = fs.readFileSync(wasm).toString('base64');
const inline = `<script id="kelp4090-wasm" type="application/octet-stream">${program}</script>\n<script>${code}</script>`;
fs.writeFileSync(`${out}.part`, html.replace(tag, () => inline));
fs.renameSync(`${out}.part`, out);
