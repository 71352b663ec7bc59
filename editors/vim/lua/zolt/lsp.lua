-- Attaches the zolt language server (`zolt lsp`) to every buffer of filetype zolt, in Neovim 0.7
-- and later:
--   require('zolt.lsp').setup()                      -- zolt on the PATH
--   require('zolt.lsp').setup({ cmd = { '/opt/zolt/bin/zolt', 'lsp' } })
local M = {}

-- One server per directory: Zolt sources have no project file to find a root by.
local function root_of(bufnr)
  local name = vim.api.nvim_buf_get_name(bufnr)
  if name == '' then
    return vim.loop.cwd()
  end
  return vim.fn.fnamemodify(name, ':p:h')
end

local clients = {} -- root directory -> client id, where vim.lsp.start is missing (Neovim 0.7)

function M.attach(bufnr, cmd)
  local config = { name = 'zolt', cmd = cmd, root_dir = root_of(bufnr) }
  if vim.lsp.start then
    vim.lsp.start(config, { bufnr = bufnr })
    return
  end
  local id = clients[config.root_dir]
  if not id or vim.lsp.client_is_stopped(id) then
    id = vim.lsp.start_client(config)
    clients[config.root_dir] = id
  end
  if id then
    vim.lsp.buf_attach_client(bufnr, id)
  end
end

function M.setup(opts)
  opts = opts or {}
  local cmd = opts.cmd or { vim.g.zolt_path or 'zolt', 'lsp' }
  local group = vim.api.nvim_create_augroup('zolt_lsp', { clear = true })
  vim.api.nvim_create_autocmd('FileType', {
    group = group,
    pattern = 'zolt',
    callback = function(args)
      M.attach(args.buf, cmd)
    end,
  })
end

return M
